#include "theme/ThemeCheck.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>

#include "base/Cp1251.h"
#include "ifeg/Ifeg.h"
#include "pictures/Ani2.h"
#include "pictures/FileProbes.h"
#include "pictures/Jpeg.h"
#include "pictures/JpegWork.h"
#include "pictures/PictureHeader.h"
#include "theme/FileKind.h"

namespace ssf {

namespace {

std::string Size(int64_t w, int64_t h) { return std::to_string(w) + "x" + std::to_string(h); }

CheckProblem Problem(int index, CheckKind kind, std::string text, CheckSeverity severity = CheckSeverity::kError) {
  CheckProblem p;
  p.index = index;
  p.kind = kind;
  p.severity = severity;
  p.text = std::move(text);
  return p;
}

// Appends a size problem when the picture's sides are not the map's.
void CheckSides(std::vector<CheckProblem>& out, int index, int64_t w, int64_t h, const TTHemeFiles& entry) {
  if (w == entry.f_width && h == entry.f_height) return;
  out.push_back(Problem(index, CheckKind::kWrongSize,
                        "Размер изображения " + Size(w, h) + ", по карте нужен " + Size(entry.f_width, entry.f_height)));
}

std::string DecoderText(const std::exception& e) {
  std::string text = e.what();
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

void CheckJpg(std::vector<CheckProblem>& out, int index, ByteSpan data, const TTHemeFiles& entry) {
  if (!IsJFIF(data)) {
    out.push_back(Problem(index, CheckKind::kUndecodable, "Не является JPEG-изображением JFIF"));
    return;
  }
  // A picture of another size is wrong whatever its scans hold: it is not decoded, so a
  // file claiming a huge picture costs nothing here.
  const std::optional<PictureSize> declared = ReadPictureHeaderSize(data);
  if (declared && (declared->width != entry.f_width || declared->height != entry.f_height)) {
    CheckSides(out, index, declared->width, declared->height, entry);
    return;
  }
  Image picture;
  try {
    picture = DecodeJpeg(data);
  } catch (const std::exception& e) {
    out.push_back(Problem(index, CheckKind::kUndecodable, "JPEG-изображение не читается: " + DecoderText(e)));
    return;
  }
  CheckSides(out, index, picture.width, picture.height, entry);
}

void CheckRaw(std::vector<CheckProblem>& out, int index, ByteSpan data, const TTHemeFiles& entry) {
  const int64_t need = int64_t{entry.f_width} * entry.f_height * 2;
  if (static_cast<int64_t>(data.size()) == need) return;
  out.push_back(Problem(index, CheckKind::kUndecodable,
                        "Длина " + std::to_string(data.size()) + " байт, для RAW " +
                            Size(entry.f_width, entry.f_height) + " нужно " + std::to_string(need)));
}

void CheckAni2(std::vector<CheckProblem>& out, int index, ByteSpan data, const TTHemeFiles& entry) {
  if (data.size() < kAni2HeaderSize || !IsANI2(data)) {
    out.push_back(Problem(index, CheckKind::kUndecodable, "Не является ANI2-изображением (нет подписи ANI2)"));
    return;
  }
  const int64_t w = GetHeaderWidth(data), h = GetHeaderHeight(data);
  const int64_t need = static_cast<int64_t>(kAni2HeaderSize) + 3 * w * h;
  if (static_cast<int64_t>(data.size()) != need) {
    out.push_back(Problem(index, CheckKind::kUndecodable,
                          "Длина " + std::to_string(data.size()) + " байт, для ANI2 " + Size(w, h) +
                              " по заголовку нужно " + std::to_string(need)));
    return;
  }
  CheckSides(out, index, w, h, entry);
}

void CheckIfg(std::vector<CheckProblem>& out, int index, ByteSpan data, const TTHemeFiles& entry) {
  if (!IsIfgData(data)) {
    out.push_back(Problem(index, CheckKind::kUndecodable, "Не является IFEG-изображением (нет подписи IFEG)"));
    return;
  }
  try {
    IfgPacked packed = DecodeIFGSummary(data);
    CheckSides(out, index, packed.header.width, packed.header.height, entry);
  } catch (const std::exception& e) {
    out.push_back(Problem(index, CheckKind::kUndecodable, "IFEG-изображение не читается: " + DecoderText(e)));
  }
}

void CheckColorTab(std::vector<CheckProblem>& out, int index, ByteSpan data, const TTHemeFiles& entry) {
  if (static_cast<int64_t>(data.size()) == entry.f_size) return;
  out.push_back(Problem(index, CheckKind::kWrongSize,
                        "Длина таблицы цветов " + std::to_string(data.size()) + " байт, по карте нужно " +
                            std::to_string(entry.f_size)));
}

// A header text the phone shows as UTF-8: it must leave its field a terminating zero and
// be valid UTF-8.
void CheckUtf8Field(std::vector<CheckProblem>& out, ByteSpan data, size_t offset, size_t size, CheckKind kind,
                    const char* what) {
  const std::string text = ReadTextField(data, offset, size);
  if (text.size() >= size) {
    out.push_back(Problem(-1, kind, std::string(what) + " занимает всё поле (" + std::to_string(size) +
                                        " байт) без завершающего нуля, допустимо не более " +
                                        std::to_string(size - 1)));
  } else if (!IsValidUtf8(text)) {
    out.push_back(Problem(-1, kind, std::string(what) + " не в кодировке UTF-8"));
  }
}

// The model is Windows-1251; 0x98 has no character there and control bytes show nothing.
bool IsShowableCp1251(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char ch) {
    const auto b = static_cast<uint8_t>(ch);
    return b < 0x20 || b == 0x7F || b == 0x98;
  });
}

}  // namespace

int ThemeCheckReport::Errors() const {
  return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                        [](const CheckProblem& p) { return p.severity == CheckSeverity::kError; }));
}

int ThemeCheckReport::Warnings() const { return static_cast<int>(problems.size()) - Errors(); }

std::vector<const CheckProblem*> ThemeCheckReport::ForFile(int k) const {
  std::vector<const CheckProblem*> out;
  for (const CheckProblem& p : problems) {
    if (p.index == k) out.push_back(&p);
  }
  return out;
}

const char* CheckKindName(CheckKind kind) {
  switch (kind) {
    case CheckKind::kAbsent: return "absent";
    case CheckKind::kUndecodable: return "undecodable";
    case CheckKind::kWrongSize: return "wrong-size";
    case CheckKind::kFileCount: return "file-count";
    case CheckKind::kModelText: return "model-text";
    case CheckKind::kAuthorText: return "author-text";
    case CheckKind::kNameText: return "name-text";
    case CheckKind::kEmptyIcon: return "empty-icon";
  }
  return "unknown";
}

const char* CheckSeverityName(CheckSeverity severity) {
  return severity == CheckSeverity::kError ? "error" : "warning";
}

std::vector<CheckProblem> CheckThemeFile(int index, ByteSpan stored, const TTHemeFiles& entry) {
  std::vector<CheckProblem> out;
  if (stored.empty()) {
    out.push_back(Problem(index, CheckKind::kAbsent, "Файл отсутствует"));
    return out;
  }
  switch (KindOf(entry.f_type)) {
    case FileKind::kJpg: CheckJpg(out, index, stored, entry); break;
    case FileKind::kRaw: CheckRaw(out, index, stored, entry); break;
    case FileKind::kAni2: CheckAni2(out, index, stored, entry); break;
    case FileKind::kIfg: CheckIfg(out, index, stored, entry); break;
    case FileKind::kColorTab: CheckColorTab(out, index, stored, entry); break;
    case FileKind::kOther: break;
  }
  return out;
}

std::vector<CheckProblem> CheckThemeHeader(const Theme& theme, const ThemeMap& map) {
  std::vector<CheckProblem> out;
  const Bytes& data = theme.Header;
  if (data.size() < kHeaderSize) return out;

  const int32_t counted = ReadI32LE(data, kFileCountOffset);
  const int32_t present = theme.HeldFiles();
  if (counted != present) {
    out.push_back(Problem(-1, CheckKind::kFileCount,
                          "Число файлов в заголовке (смещение 148): " + std::to_string(counted) +
                              ", в теме файлов: " + std::to_string(present)));
  }
  if (!IsShowableCp1251(ReadTextField(data, kModelOffset, kModelSize))) {
    out.push_back(Problem(-1, CheckKind::kModelText,
                          "Модель телефона в заголовке содержит байты вне кодировки Windows-1251"));
  }
  CheckUtf8Field(out, data, kAuthorOffset, kAuthorSize, CheckKind::kAuthorText, "Автор темы");
  CheckUtf8Field(out, data, kThemeNameOffset, kThemeNameSize, CheckKind::kNameText, "Название темы");
  if (map.HasIcon && data.size() >= kIconOffset + kIconBytes &&
      std::all_of(data.begin() + kIconOffset, data.begin() + kIconOffset + kIconBytes,
                  [](uint8_t b) { return b == 0; })) {
    out.push_back(Problem(-1, CheckKind::kEmptyIcon, "Иконка темы пуста (все байты нулевые)", CheckSeverity::kWarning));
  }
  return out;
}

namespace {

const TTHemeFiles& EntryOf(const ThemeMap& map, size_t k) {
  static const TTHemeFiles kNone;
  const TTHemeFiles* entry = map.Entry(static_cast<int>(k));
  return entry ? *entry : kNone;
}

void AddPaths(const GroupTree& tree, std::vector<CheckProblem>& problems) {
  for (CheckProblem& p : problems) {
    if (p.index < 0) continue;
    const int node = tree.FileNode(p.index);
    p.path = node < 0 ? std::string() : tree.PathOf(node);
  }
}

size_t HashOf(const Bytes& bytes) {
  return std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

ThemeCheckReport CheckTheme(const Theme& theme, const ThemeMap& map) {
  ThemeCheckReport report;
  for (size_t k = 0; k < theme.NewFiles.size(); ++k) {
    std::vector<CheckProblem> file = CheckThemeFile(static_cast<int>(k), theme.NewFiles[k].f_file, EntryOf(map, k));
    report.problems.insert(report.problems.end(), file.begin(), file.end());
  }
  std::vector<CheckProblem> header = CheckThemeHeader(theme, map);
  report.problems.insert(report.problems.end(), header.begin(), header.end());
  AddPaths(map.Tree, report.problems);
  return report;
}

void ThemeCheckCache::Clear() {
  files_.clear();
  report_ = {};
}

bool IsSlowToCheck(ByteSpan stored, const TTHemeFiles& entry) {
  // A decode of this many block passes takes a few milliseconds; ordinary files at a phone's
  // sizes stay far below it.
  constexpr uint64_t kSlowBlockPasses = 512 * 1024;
  return KindOf(entry.f_type) == FileKind::kJpg && CountJpegWork(stored).block_passes > kSlowBlockPasses;
}

const ThemeCheckReport& ThemeCheckCache::Update(const Theme& theme, const ThemeMap& map,
                                                std::vector<DeferredCheck>* deferred) {
  files_.resize(theme.NewFiles.size());
  report_.problems.clear();
  for (size_t k = 0; k < theme.NewFiles.size(); ++k) {
    const Bytes& bytes = theme.NewFiles[k].f_file;
    const TTHemeFiles& entry = EntryOf(map, k);
    FileResult& r = files_[k];
    const size_t hash = HashOf(bytes);
    // A check still out counts as done when deferring is allowed; otherwise it is made here.
    const bool known = r.checked || (deferred != nullptr && r.pending);
    if (!known || r.hash != hash || r.size != bytes.size() || r.entry != entry) {
      r.hash = hash;
      r.size = bytes.size();
      r.entry = entry;
      if (deferred != nullptr && IsSlowToCheck(bytes, entry)) {
        r.checked = false;
        r.pending = true;
        r.ticket = ++tickets_;
        r.problems.clear();
        deferred->push_back({static_cast<int>(k), r.ticket, bytes, entry});
      } else {
        r.checked = true;
        r.pending = false;
        r.problems = CheckThemeFile(static_cast<int>(k), bytes, entry);
      }
    }
    report_.problems.insert(report_.problems.end(), r.problems.begin(), r.problems.end());
  }
  std::vector<CheckProblem> header = CheckThemeHeader(theme, map);
  report_.problems.insert(report_.problems.end(), header.begin(), header.end());
  AddPaths(map.Tree, report_.problems);
  return report_;
}

bool ThemeCheckCache::Store(int index, uint64_t ticket, std::vector<CheckProblem> problems) {
  if (index < 0 || static_cast<size_t>(index) >= files_.size()) return false;
  FileResult& r = files_[static_cast<size_t>(index)];
  if (!r.pending || r.ticket != ticket) return false;
  r.pending = false;
  r.checked = true;
  r.problems = std::move(problems);
  return true;
}

int ThemeCheckCache::Pending() const {
  return static_cast<int>(std::count_if(files_.begin(), files_.end(), [](const FileResult& r) { return r.pending; }));
}

std::string AbsentFilesText(const Theme& theme, const ThemeMap& map, size_t shown) {
  std::string text;
  size_t absent = 0;
  for (size_t k = 0; k < theme.NewFiles.size(); ++k) {
    if (theme.NewFiles[k].Present()) continue;
    if (absent++ < shown) {
      const int node = map.Tree.FileNode(static_cast<int>(k));
      text += (text.empty() ? "" : "\r\n") + std::to_string(k) + ": " +
              (node < 0 ? std::string("?") : map.Tree.PathOf(node));
    }
  }
  if (absent > shown) text += "\r\n... и ещё " + std::to_string(absent - shown);
  return text;
}

bool MaySaveTheme(const Theme& theme, const ThemeMap& map) { return theme.StoredFiles() == map.FilesCount; }

std::string SaveRefusalText(const Theme& theme, const ThemeMap& map) {
  std::string text = "Сохранение темы невозможно, пока не прикреплены все файлы!";
  const std::string absent = AbsentFilesText(theme, map);
  // The refusal names what is missing, so nobody has to click through the tree to find it.
  if (!absent.empty()) text += "\r\n\r\nНе прикреплены:\r\n" + absent;
  return text;
}

}  // namespace ssf
