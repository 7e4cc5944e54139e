#pragma once
// The open theme as a value: the container's header bytes and one byte slot per theme file.
// Its map (ThemeMap) says how many slots there are and what each must hold; the functions
// here create, read and write containers by the layout in ThemeContainer.h.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "base/SsfError.h"
#include "theme/ThemeContainer.h"
#include "theme/ThemeMap.h"

namespace ssf {

// One slot of the file table: the theme file's bytes. Empty means absent.
struct TThemeNewFiles {
  Bytes f_file;
  uint32_t f_size() const { return static_cast<uint32_t>(f_file.size()); }
  bool Present() const { return !f_file.empty(); }
  bool operator==(const TThemeNewFiles&) const = default;
};

struct Theme {
  // The container's bytes before its size table: header fields, icon area and reserved
  // bytes, kept as they are. Its length is the theme's FilesTable.
  Bytes Header;
  // The file table: one slot per theme file of the map, in map order.
  std::vector<TThemeNewFiles> NewFiles;
  // The stored-file count follows the count an opened container declares at offset 148
  // rather than the slots it holds, until the slots are counted again (a resource import);
  // this is that difference. Zero for a new theme.
  int32_t CountCorrection = 0;

  int32_t FilesTable() const { return static_cast<int32_t>(Header.size()); }
  // Where the file data begins, as the header says (offset 160).
  int32_t FilesStart() const;
  // Slots that hold bytes.
  int32_t HeldFiles() const;
  // The stored-file count shown as "%d/%d" with the map's FilesCount; saving needs them equal.
  int32_t StoredFiles() const { return HeldFiles() + CountCorrection; }
  void RecountStoredFiles() { CountCorrection = 0; }
  // Slot k, or nullptr past the table.
  const TThemeNewFiles* Slot(int k) const;

  bool operator==(const Theme&) const = default;
};

// Why a container was not taken: `kind` tells the window which status to show, `offset`
// is where in the file the fault lies; the message is the status text for the three named
// faults and, for kStructure, says which region does not fit.
class ThemeParseError : public SsfError {
 public:
  enum class Kind { kStructure, kSignature, kZeroTable, kZeroStart };
  ThemeParseError(Kind kind, size_t offset, const std::string& message)
      : SsfError(message), kind_(kind), offset_(offset) {}
  Kind kind() const { return kind_; }
  size_t offset() const { return offset_; }

 private:
  Kind kind_;
  size_t offset_;
};

// A new theme for a sound map: the signature and model of the map, author "Автор темы",
// name "Название темы", version "1.0", the map's count and offsets; every other byte zero,
// every theme file absent. Throws SsfError for offsets no sound map has.
Theme NewTheme(const ThemeMap& map);

// What is wrong when `bytes` are too short for the container header; nothing when they hold it.
std::optional<std::string> ShortHeaderFault(ByteSpan bytes);

// Reads a container against its map: the signature must be the map's, the offsets at 156
// and 160 not 0, and every region the header and size table declare inside the data.
// Throws ThemeParseError.
Theme ParseTheme(ByteSpan bytes, const ThemeMap& map);

// The container's bytes: the header as it is, the size table, zeros up to FilesStart, then
// every slot's bytes back to back. Throws SsfError when the offsets leave no room.
Bytes SerializeTheme(const Theme& theme);

}  // namespace ssf
