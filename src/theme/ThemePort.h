#pragma once
// Carrying a finished theme to another phone model: which file of the source theme each
// theme file of the target map takes, and the target's bytes made from it. The window's
// "Перенести на другую модель…" and `ssftool port` share every decision made here.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "theme/PictureFit.h"
#include "theme/Theme.h"
#include "theme/ThemeMap.h"

namespace ssf {

// How a target theme file found its source: by innermost group caption and caption, by
// caption alone, or not at all.
enum class PairRule { kNone, kGroupAndCaption, kCaption };

struct PortPair {
  std::optional<int> source;  // theme file index in the source map
  PairRule rule = PairRule::kNone;
};

// One pair per theme file of `target`, in map order. Captions are compared after trimming
// blanks, ignoring case; a rule holds only when exactly one source file matches it. A
// source file may serve several targets.
std::vector<PortPair> PairThemeFiles(const ThemeMap& source, const ThemeMap& target);

// The tree path of theme file k ("Главное меню/Пиктограммы/Сообщения"), empty past the map.
std::string ThemeFilePath(const ThemeMap& map, int k);

// What carrying does with one target file.
enum class CarryAction {
  kNone,     // stays unfilled: no source, or the reason says why
  kCopy,     // same kind and size: the bytes as they are
  kConvert,  // a picture decoded, fitted and converted to the target kind
};

// What will be done, decided from the map entries and whether the source slot holds bytes,
// before anything is decoded (the window's table, the command's plan).
struct CarryPlan {
  CarryAction action = CarryAction::kNone;
  std::string what;  // Russian: the action, or why nothing is done
};
CarryPlan PlanCarry(const TTHemeFiles& source_entry, ByteSpan source_bytes, const TTHemeFiles& target_entry,
                    const FitChoice& fit);

struct CarriedFile {
  Bytes bytes;  // empty: unfilled
  CarryAction action = CarryAction::kNone;
  std::string what;  // as the plan says, or why the source did not decode
};

// Carries one source file into a target entry. A source that does not decode leaves the
// target unfilled with the decoder's reason; nothing throws for the source's content.
CarriedFile CarryThemeFile(const TTHemeFiles& source_entry, ByteSpan source_bytes, const TTHemeFiles& target_entry,
                           const FitChoice& fit);

struct PortedTheme {
  Theme theme;                     // a new theme of the target map with every carried file
  std::vector<CarriedFile> files;  // one per target theme file
};

// Called after each target file with how many are done of how many; false stops the work.
using PortProgress = std::function<bool(int done, int total)>;

// A new theme of `target_map` (author, name, version, and where both models have them the
// type and the icon, taken from the source), each target file k carried from
// `sources[k]` (none: unfilled). Nothing when `progress` stopped the work.
std::optional<PortedTheme> PortTheme(const Theme& source, const ThemeMap& source_map, const ThemeMap& target_map,
                                     const std::vector<std::optional<int>>& sources, const FitChoice& fit,
                                     const PortProgress& progress = {});

// The sources of a pairing, as PortTheme takes them.
std::vector<std::optional<int>> PairedSources(const std::vector<PortPair>& pairs);

}  // namespace ssf
