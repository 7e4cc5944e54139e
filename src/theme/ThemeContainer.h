#pragma once
// The theme container (.ssf). All numbers little-endian; text fields zero-padded and read
// up to their first zero byte.
//
//   offset  size  content
//        0    13  signature, Windows-1251 ("SAMSUNG THEME")
//       14    17  phone model, Windows-1251 (17 bytes fill the field with no zero byte)
//       32    52  author, UTF-8, at most 51 bytes
//       85    52  theme name, UTF-8, at most 51 bytes
//      140     5  version, UTF-8, at most 4 bytes (byte 145 ends it on reading)
//      148     4  file count at creation, signed; read back as the stored-file count
//      156     4  FilesTable: offset of the size table, signed, not 0
//      160     4  FilesStart: offset of the file data, signed, not 0
//      165     1  theme type: 0 black, 1 white (not used in colour themes)
//      168  3872  icon: 44x44 RGB565 pixels, rows from the top (only with an icon)
//   FilesTable  4 * FilesCount  size of each theme file, unsigned, in map order
//   FilesStart  sum of sizes    the theme files back to back; the container ends there
// Other bytes are reserved and zero in what we create; opened containers keep theirs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ByteIO.h"

namespace ssf {

inline constexpr size_t kSignatureOffset = 0;
inline constexpr size_t kSignatureSize = 13;
inline constexpr size_t kModelOffset = 14;
inline constexpr size_t kModelSize = 17;
inline constexpr size_t kAuthorOffset = 32;
inline constexpr size_t kAuthorSize = 52;
inline constexpr size_t kThemeNameOffset = 85;
inline constexpr size_t kThemeNameSize = 52;
inline constexpr size_t kVersionOffset = 140;
inline constexpr size_t kVersionReadSize = 6;
inline constexpr size_t kFileCountOffset = 148;
inline constexpr size_t kFilesTableOffset = 156;
inline constexpr size_t kFilesStartOffset = 160;
inline constexpr size_t kThemeTypeOffset = 165;
// Bytes an opened container must hold for the header fields that are read.
inline constexpr size_t kHeaderSize = 166;
inline constexpr size_t kIconOffset = 168;
inline constexpr int kIconSide = 44;
inline constexpr size_t kIconBytes = kIconSide * kIconSide * 2;

// What a new theme's header says until the user changes it.
inline constexpr char kNewThemeAuthor[] = "Автор темы";
inline constexpr char kNewThemeName[] = "Название темы";
inline constexpr char kNewThemeVersion[] = "1.0";

// Text of a zero-padded field: its bytes up to the first zero byte. The field must lie
// inside the data.
std::string ReadTextField(ByteSpan data, size_t offset, size_t size);

}  // namespace ssf
