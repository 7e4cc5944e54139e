// .xls workbooks (BIFF8 in a compound file) through libfreexl.
//
// libfreexl 1.0.6 writes outside a stack buffer on some crafted files (found by the
// workbook fuzz target), so it never runs in our process: a forked child opens the
// file, sends the first sheet's name and non-empty cells through a pipe and exits. A
// child that dies or sends garbage makes a clean "damaged file" error here.
//
// Pipe record: i32 status (0 or a freexl error code), then a text (u32 length + bytes)
// for the sheet name, then per cell u32 row, u32 column (1-based) and a text.
#include <fcntl.h>
#include <freexl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/ByteIO.h"
#include "base/SsfError.h"
#include "tools/workbook/WorkbookReaders.h"

// Present only in sanitizer builds; a fuzzer registers its crash report there, which must
// not run for a contained crash of the child.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace ssf {

namespace {

constexpr unsigned kMaxXlsRows = 65536;
constexpr unsigned kMaxXlsColumns = 256;

std::string FreexlReason(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND: return "файл не найден";
    case FREEXL_INSUFFICIENT_MEMORY: return "недостаточно памяти";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE: return "не книга .xls";
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return "в файле нет книги";
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX: return "в книге нет листов";
    case FREEXL_UNSUPPORTED_CHARSET: return "неподдерживаемая кодировка";
    case FREEXL_INVALID_CHARACTER: return "недопустимый символ в тексте";
    default: return "файл повреждён, код freexl " + std::to_string(code);
  }
}

void AppendText(Bytes& out, const std::string& s) {
  AppendU32LE(out, static_cast<uint32_t>(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}

std::string CellText(const FreeXL_CellValue& v) {
  switch (v.type) {
    case FREEXL_CELL_INT: return std::to_string(v.value.int_value);
    case FREEXL_CELL_DOUBLE: return NumberCellText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return v.value.text_value != nullptr ? v.value.text_value : "";
    default: return {};
  }
}

// Runs in the child: reads the workbook and returns the pipe record.
Bytes ReadInChild(const std::filesystem::path& path) {
  Bytes out;
  const void* handle = nullptr;
  int rc = freexl_open(path.c_str(), &handle);  // freexl releases the handle itself on failure
  unsigned int sheets = 0;
  const char* name = nullptr;
  unsigned int rows = 0;
  unsigned short columns = 0;
  if (rc == FREEXL_OK) rc = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
  if (rc == FREEXL_OK && sheets == 0) rc = FREEXL_BIFF_ILLEGAL_SHEET_INDEX;
  if (rc == FREEXL_OK) rc = freexl_get_worksheet_name(handle, 0, &name);
  if (rc == FREEXL_OK) rc = freexl_select_active_worksheet(handle, 0);
  if (rc == FREEXL_OK) rc = freexl_worksheet_dimensions(handle, &rows, &columns);
  AppendU32LE(out, static_cast<uint32_t>(rc));
  if (rc != FREEXL_OK) return out;
  AppendText(out, name != nullptr ? name : "");
  size_t cells = 0;
  for (unsigned r = 0; r < std::min(rows, kMaxXlsRows); ++r) {
    for (unsigned c = 0; c < std::min<unsigned>(columns, kMaxXlsColumns); ++c) {
      FreeXL_CellValue v;
      if (freexl_get_cell_value(handle, r, static_cast<unsigned short>(c), &v) != FREEXL_OK) continue;
      std::string text = CellText(v);
      if (text.empty() || ++cells > kMaxWorkbookCells) continue;
      AppendU32LE(out, r + 1);
      AppendU32LE(out, c + 1);
      AppendText(out, text);
    }
  }
  freexl_close(handle);
  return out;
}

[[noreturn]] void ChildMain(int fd, const std::filesystem::path& path) {
  if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(nullptr);
  Bytes record = ReadInChild(path);
  size_t done = 0;
  while (done < record.size()) {
    ssize_t n = ::write(fd, record.data() + done, record.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(1);
    done += static_cast<size_t>(n);
  }
  ::_exit(0);  // no atexit handlers, no flushing of the parent's buffers
}

}  // namespace

std::unique_ptr<Workbook> OpenXlsWorkbook(const std::filesystem::path& path) {
  const std::string where = "Не удалось прочитать книгу: " + path.string();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw SsfError(where + " (" + std::strerror(errno) + ")");
  pid_t pid = ::fork();
  if (pid < 0) {
    int err = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    throw SsfError(where + " (" + std::strerror(err) + ")");
  }
  if (pid == 0) {
    ::close(fds[0]);
    ChildMain(fds[1], path);
  }
  ::close(fds[1]);
  Bytes record;
  uint8_t buf[65536];
  while (true) {
    ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    record.insert(record.end(), buf, buf + n);
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw SsfError(where + " (файл повреждён)");

  try {
    ByteReader in(record, "ответ чтения книги");
    auto code = static_cast<int32_t>(in.U32LE());
    if (code != FREEXL_OK) throw SsfError(where + " (" + FreexlReason(code) + ")");
    auto text = [&in] {
      uint32_t len = in.U32LE();
      ByteSpan s = in.Take(len);
      return std::string(s.begin(), s.end());
    };
    auto book = std::make_unique<MemoryWorkbook>(text());
    while (in.Remaining() > 0) {
      uint32_t row = in.U32LE();
      uint32_t column = in.U32LE();
      book->SetCell(static_cast<int>(row), static_cast<int>(column), text());
    }
    return book;
  } catch (const SsfError& e) {
    if (std::string(e.what()).rfind(where, 0) == 0) throw;
    throw SsfError(where + " (файл повреждён)");
  }
}

}  // namespace ssf
