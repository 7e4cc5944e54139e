// .xls workbooks (BIFF8 in a compound file) through libfreexl, which reads the whole
// workbook at open and gives cells with their type.
#include <freexl.h>

#include "theme/SsfError.h"
#include "tools/WorkbookReaders.h"

namespace ssf {

namespace {

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

class XlsWorkbook : public Workbook {
 public:
  explicit XlsWorkbook(const std::filesystem::path& path) {
    const void* handle = nullptr;
    int rc = freexl_open(path.c_str(), &handle);
    // freexl releases its handle itself when the open fails.
    if (rc != FREEXL_OK) Fail(path, rc);
    owner_.reset(handle);
    handle_ = handle;
    unsigned int sheets = 0;
    rc = freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &sheets);
    if (rc != FREEXL_OK) Fail(path, rc);
    if (sheets == 0) Fail(path, FREEXL_BIFF_ILLEGAL_SHEET_INDEX);
    const char* name = nullptr;
    rc = freexl_get_worksheet_name(handle_, 0, &name);
    if (rc != FREEXL_OK) Fail(path, rc);
    sheet_name_ = name != nullptr ? name : "";
    rc = freexl_select_active_worksheet(handle_, 0);
    if (rc != FREEXL_OK) Fail(path, rc);
  }

  std::string FirstSheetName() const override { return sheet_name_; }

  std::string Cell(int row, int column) const override {
    // BIFF8 holds 65536 rows and 256 columns; cells beyond read as empty.
    if (row < 1 || column < 1 || row > 65536 || column > 256) return {};
    FreeXL_CellValue v;
    if (freexl_get_cell_value(handle_, static_cast<unsigned int>(row - 1),
                              static_cast<unsigned short>(column - 1), &v) != FREEXL_OK) {
      return {};
    }
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

 private:
  [[noreturn]] void Fail(const std::filesystem::path& path, int code) {
    throw SsfError("Не удалось прочитать книгу: " + path.string() + " (" + FreexlReason(code) + ")");
  }

  struct Closer {
    void operator()(const void* h) const { freexl_close(h); }
  };
  std::unique_ptr<const void, Closer> owner_;
  const void* handle_ = nullptr;
  std::string sheet_name_;
};

}  // namespace

std::unique_ptr<Workbook> OpenXlsWorkbook(const std::filesystem::path& path) {
  return std::make_unique<XlsWorkbook>(path);
}

}  // namespace ssf
