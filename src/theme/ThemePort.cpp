#include "theme/ThemePort.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/SsfError.h"
#include "pictures/Png.h"
#include "theme/FileKind.h"
#include "theme/ThemeFileConversion.h"
#include "theme/ThemeFilePicture.h"
#include "theme/ThemeHeader.h"

namespace ssf {
namespace {

// Lower case for the letters captions are written in (Latin and Cyrillic); other text as is.
void AppendFolded(std::string& out, char32_t c) {
  if (c >= U'A' && c <= U'Z') c += 0x20;
  else if (c >= 0x0410 && c <= 0x042F) c += 0x20;  // А..Я
  else if (c >= 0x0400 && c <= 0x040F) c += 0x50;  // Ѐ..Џ, Ё among them
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

// The caption as pairing compares it: trimmed of blanks, letters folded. Only two-byte
// sequences (where Cyrillic lives) are decoded; every other byte is kept as it is.
std::string CaptionKey(const std::string& caption) {
  size_t begin = caption.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  size_t end = caption.find_last_not_of(" \t\r\n") + 1;
  std::string out;
  for (size_t i = begin; i < end; ++i) {
    const auto b = static_cast<unsigned char>(caption[i]);
    if ((b & 0xE0) == 0xC0 && i + 1 < end && (static_cast<unsigned char>(caption[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) | (static_cast<unsigned char>(caption[i + 1]) & 0x3F);
      AppendFolded(out, c);
      ++i;
    } else if (b < 0x80) {
      AppendFolded(out, b);
    } else {
      out.push_back(static_cast<char>(b));
    }
  }
  return out;
}

struct FileKeys {
  std::string group;    // innermost group's caption, empty at the top level
  std::string caption;
};

std::vector<FileKeys> KeysOf(const ThemeMap& map) {
  std::vector<FileKeys> keys;
  const int count = map.Tree.FileNodeCount();
  for (int k = 0; k < count; ++k) {
    const int node = map.Tree.FileNode(k);
    const GroupNode& n = map.Tree.Node(node);
    keys.push_back({n.parent >= 0 ? CaptionKey(map.Tree.Node(n.parent).caption) : std::string(), CaptionKey(n.caption)});
  }
  return keys;
}

// The one index under `key`, or nothing when none or several have it.
template <typename Key>
std::optional<int> Unique(const std::multimap<Key, int>& index, const Key& key) {
  if (index.count(key) != 1) return std::nullopt;
  return index.find(key)->second;
}

std::string Size(const TTHemeFiles& e) { return std::to_string(e.f_width) + "x" + std::to_string(e.f_height); }

const char* FitText(FitMode mode) {
  switch (mode) {
    case FitMode::kCrop: return "обрезать по краям";
    case FitMode::kPad: return "вписать с полями";
    case FitMode::kStretch: return "растянуть";
  }
  return "";
}

bool SameSize(const TTHemeFiles& a, const TTHemeFiles& b) { return a.f_width == b.f_width && a.f_height == b.f_height; }

CarryPlan None(std::string why) { return {CarryAction::kNone, std::move(why)}; }

// The source as its preview shows it, fitted and stored as the target kind.
Bytes ConvertPicture(const TTHemeFiles& source_entry, ByteSpan source_bytes, const TTHemeFiles& target,
                     const FitChoice& fit) {
  Image picture = MakePreviewPicture(source_bytes, source_entry).image;
  const bool to_ani2 = KindOf(target.f_type) == FileKind::kAni2;
  // ANI2 keeps the alpha (and pads transparent); the opaque kinds take it over black, as
  // "Загрузить" takes a PNG.
  if (to_ani2 && !picture.HasAlpha()) picture.AddAlpha();
  if (!to_ani2 && picture.HasAlpha()) picture = FlattenOverBlack(picture);
  const auto width = static_cast<uint32_t>(target.f_width);
  const auto height = static_cast<uint32_t>(target.f_height);
  if (picture.width != width || picture.height != height) {
    picture = FitForThemeFile(picture, width, height, target.f_type, fit);
  }
  return EncodeThemePicture(picture, target.f_type, to_ani2);
}

}  // namespace

std::vector<PortPair> PairThemeFiles(const ThemeMap& source, const ThemeMap& target) {
  const std::vector<FileKeys> from = KeysOf(source);
  std::multimap<std::pair<std::string, std::string>, int> by_pair;
  std::multimap<std::string, int> by_caption;
  for (int k = 0; k < static_cast<int>(from.size()); ++k) {
    by_pair.emplace(std::make_pair(from[k].group, from[k].caption), k);
    by_caption.emplace(from[k].caption, k);
  }
  std::vector<PortPair> pairs;
  for (const FileKeys& to : KeysOf(target)) {
    if (std::optional<int> k = Unique(by_pair, std::make_pair(to.group, to.caption))) {
      pairs.push_back({k, PairRule::kGroupAndCaption});
    } else if (std::optional<int> c = Unique(by_caption, to.caption)) {
      pairs.push_back({c, PairRule::kCaption});
    } else {
      pairs.push_back({});
    }
  }
  return pairs;
}

std::vector<std::optional<int>> PairedSources(const std::vector<PortPair>& pairs) {
  std::vector<std::optional<int>> sources;
  for (const PortPair& p : pairs) sources.push_back(p.source);
  return sources;
}

std::string ThemeFilePath(const ThemeMap& map, int k) {
  const int node = map.Tree.FileNode(k);
  return node < 0 ? std::string() : map.Tree.PathOf(node);
}

CarryPlan PlanCarry(const TTHemeFiles& source_entry, ByteSpan source_bytes, const TTHemeFiles& target_entry,
                    const FitChoice& fit) {
  if (source_bytes.empty()) return None("файл отсутствует в исходной теме");
  const FileKind from = KindOf(source_entry.f_type);
  const FileKind to = KindOf(target_entry.f_type);
  if (IsPictureKind(from) && IsPictureKind(to)) {
    if (target_entry.f_width <= 0 || target_entry.f_height <= 0) {
      return None("в карте модели нет размера для " + target_entry.f_type + " " + Size(target_entry));
    }
    if (from == to && SameSize(source_entry, target_entry)) return {CarryAction::kCopy, "без изменений"};
    std::string what = source_entry.f_type + " " + Size(source_entry) + " → " + target_entry.f_type + " " +
                       Size(target_entry);
    if (!SameSize(source_entry, target_entry)) {
      what += std::string(", ") + FitText(fit.mode);
      if (fit.dither && IsRgb565Kind(target_entry.f_type)) what += ", с дизерингом";
    }
    return {CarryAction::kConvert, what};
  }
  if (from == FileKind::kColorTab && to == FileKind::kColorTab) {
    if (source_bytes.size() == static_cast<size_t>(std::max(target_entry.f_size, 0))) {
      return {CarryAction::kCopy, "без изменений"};
    }
    return None("таблица цветов другого размера: " + std::to_string(source_bytes.size()) + " байт, нужно " +
                std::to_string(target_entry.f_size));
  }
  if (from == FileKind::kOther && source_entry == target_entry) return {CarryAction::kCopy, "без изменений"};
  return None("файл вида " + source_entry.f_type + " не переносится в файл вида " + target_entry.f_type);
}

CarriedFile CarryThemeFile(const TTHemeFiles& source_entry, ByteSpan source_bytes, const TTHemeFiles& target_entry,
                           const FitChoice& fit) {
  CarryPlan plan = PlanCarry(source_entry, source_bytes, target_entry, fit);
  CarriedFile carried{{}, plan.action, std::move(plan.what)};
  if (plan.action == CarryAction::kCopy) {
    carried.bytes.assign(source_bytes.begin(), source_bytes.end());
  } else if (plan.action == CarryAction::kConvert) {
    try {
      carried.bytes = ConvertPicture(source_entry, source_bytes, target_entry, fit);
    } catch (const SsfError& e) {
      carried = {{}, CarryAction::kNone, std::string("файл-источник не читается: ") + e.what()};
    }
  }
  return carried;
}

std::optional<PortedTheme> PortTheme(const Theme& source, const ThemeMap& source_map, const ThemeMap& target_map,
                                     const std::vector<std::optional<int>>& sources, const FitChoice& fit,
                                     const PortProgress& progress) {
  PortedTheme ported{NewTheme(target_map), {}};
  for (const HeaderField* field : {&kAuthorField, &kNameField, &kVersionField}) {
    SetHeaderText(ported.theme, *field, HeaderText(source, *field));
  }
  if (!source_map.IsColorTheme && !target_map.IsColorTheme) SetThemeType(ported.theme, ThemeTypeIndex(source));
  if (HasIconArea(source, source_map) && HasIconArea(ported.theme, target_map)) {
    const Bytes icon = ThemeIconBytes(source);
    std::copy(icon.begin(), icon.end(), ported.theme.Header.begin() + static_cast<std::ptrdiff_t>(kIconOffset));
  }
  const int total = static_cast<int>(target_map.ThemeFiles.size());
  for (int k = 0; k < total; ++k) {
    const TTHemeFiles& target = target_map.ThemeFiles[static_cast<size_t>(k)];
    const std::optional<int> from = k < static_cast<int>(sources.size()) ? sources[static_cast<size_t>(k)] : std::nullopt;
    const TTHemeFiles* entry = from ? source_map.Entry(*from) : nullptr;
    const TThemeNewFiles* slot = from ? source.Slot(*from) : nullptr;
    CarriedFile carried = entry && slot ? CarryThemeFile(*entry, slot->f_file, target, fit)
                                        : CarriedFile{{}, CarryAction::kNone, "нет пары в исходной теме"};
    if (k < static_cast<int>(ported.theme.NewFiles.size())) ported.theme.NewFiles[static_cast<size_t>(k)].f_file = carried.bytes;
    ported.files.push_back(std::move(carried));
    if (progress && !progress(k + 1, total)) return std::nullopt;
  }
  return ported;
}

}  // namespace ssf
