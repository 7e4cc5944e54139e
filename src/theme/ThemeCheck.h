#pragma once
// The theme check: every theme file of a theme against its map entry, and the header as
// the phone reads it. The window's tree marks, its overview page, the dialog
// "Проверить тему" and `ssftool check` all use these functions.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "theme/Theme.h"

namespace ssf {

enum class CheckSeverity { kError, kWarning };

enum class CheckKind {
  kAbsent,       // the slot holds no bytes
  kUndecodable,  // the bytes are not a file of the entry's kind
  kWrongSize,    // the picture (or colour table) is not the map's size
  kFileCount,    // the count at offset 148 differs from the files present
  kModelText,    // the model field holds bytes the phone cannot show
  kAuthorText,   // author over its field or not UTF-8
  kNameText,     // theme name over its field or not UTF-8
  kEmptyIcon,    // the map has an icon, the icon area is all zero
};

struct CheckProblem {
  int index = -1;  // theme file index; -1 for the theme as a whole
  std::string path;  // tree path of the theme file ("/" between captions); empty for the theme
  CheckKind kind = CheckKind::kAbsent;
  CheckSeverity severity = CheckSeverity::kError;
  std::string text;  // Russian, one line
};

struct ThemeCheckReport {
  std::vector<CheckProblem> problems;  // theme files in map order, then the theme as a whole
  int Errors() const;
  int Warnings() const;
  // The problems of theme file k.
  std::vector<const CheckProblem*> ForFile(int k) const;
};

// Short names for machine-readable output: "absent", "undecodable", "wrong-size", ...
const char* CheckKindName(CheckKind kind);
const char* CheckSeverityName(CheckSeverity severity);  // "error", "warning"

// The problems of one theme file's stored bytes against its map entry; none when sound.
// `path` is not filled in here.
std::vector<CheckProblem> CheckThemeFile(int index, ByteSpan stored, const TTHemeFiles& entry);

// The problems of the theme as a whole: file count, header texts, icon.
std::vector<CheckProblem> CheckThemeHeader(const Theme& theme, const ThemeMap& map);

// The whole check of a theme: every slot against its map entry, then the header.
ThemeCheckReport CheckTheme(const Theme& theme, const ThemeMap& map);

// Whether checking a theme file may take long enough to hold up a window: a JPEG whose scans
// together visit many 8x8 blocks (hundreds of scans over a large entry). Counted from the
// markers alone, so asking costs nothing.
bool IsSlowToCheck(ByteSpan stored, const TTHemeFiles& entry);

// A theme file whose check ThemeCheckCache::Update left to another thread.
struct DeferredCheck {
  int index = -1;
  uint64_t ticket = 0;  // hands the result back to the request it answers
  Bytes stored;
  TTHemeFiles entry;
};

// The check again after an edit: a theme file is checked anew only when its bytes or its
// map entry changed since the last call, so the window can run it after every event.
class ThemeCheckCache {
 public:
  // With `deferred`, files slow to check are not checked here: each is appended to it once
  // and shows no problems until Store() brings its result. Without it every file is checked.
  const ThemeCheckReport& Update(const Theme& theme, const ThemeMap& map,
                                 std::vector<DeferredCheck>* deferred = nullptr);
  // Takes the result of a deferred check (CheckThemeFile of the request); false, and nothing
  // kept, when the file changed since it was asked for. The next Update shows it.
  bool Store(int index, uint64_t ticket, std::vector<CheckProblem> problems);
  // Theme files whose deferred check has not come back.
  int Pending() const;
  const ThemeCheckReport& Report() const { return report_; }
  void Clear();

 private:
  struct FileResult {
    bool checked = false;
    bool pending = false;
    uint64_t ticket = 0;
    size_t hash = 0;
    size_t size = 0;
    TTHemeFiles entry;
    std::vector<CheckProblem> problems;
  };
  std::vector<FileResult> files_;
  uint64_t tickets_ = 0;
  ThemeCheckReport report_;
};

// Names of the absent theme files for the save refusal: the first `shown` paths, one a
// line, then "... и ещё N" when more are absent. Empty when none is absent.
std::string AbsentFilesText(const Theme& theme, const ThemeMap& map, size_t shown = 5);

// Saving needs the stored-file count to reach the map's file count.
bool MaySaveTheme(const Theme& theme, const ThemeMap& map);
// The save command's refusal, naming the absent theme files.
std::string SaveRefusalText(const Theme& theme, const ThemeMap& map);

}  // namespace ssf
