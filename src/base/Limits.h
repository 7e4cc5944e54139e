#pragma once
// Limits on what a file from a stranger may make the program allocate or compute. Every
// reader checks its input against these before it allocates, so a small hostile file cannot
// grow into gigabytes or minutes. Each limit is far above anything a real theme needs.
#include <cstddef>
#include <cstdint>

namespace ssf {

// Largest theme container that is created, opened or saved. Real themes are a few MB; the
// map's FilesTable, FilesStart and file sizes are bounded by this too, so a map cannot ask
// for a container (or a file table) larger than this.
inline constexpr int64_t kMaxContainerSize = 64 * 1024 * 1024;

// Largest width or height of a picture, in a map entry or in a picture file. Phone screens
// are a few hundred pixels; this leaves room for any desktop picture given to a converter.
inline constexpr int64_t kMaxPictureSide = 16384;

// Largest number of pixels of one decoded picture (16384 x 4096): 192 MiB of BGR rows.
// Decoders of uncompressed data also check the size against the bytes the file holds.
inline constexpr int64_t kMaxPicturePixels = kMaxPictureSide * 4096;

// Deepest nesting of groups in a theme map. Real maps nest two or three levels; the limit
// keeps every walk of the tree (and the window's tree view) well inside the stack.
inline constexpr int kMaxGroupDepth = 32;

// Most scans of a progressive JPEG. Encoders write about ten; libjpeg decodes every empty
// scan of a crafted file in full, so thousands of them take minutes.
inline constexpr int kMaxJpegScans = 500;

// Most 8x8 blocks all scans of one JPEG may visit together (a scan visits every block of
// its components, data or not). An ordinary progressive file visits each block five to ten
// times; this allows that for the largest picture and a few hundred scans of a photo,
// and stays well under a second of decoding.
inline constexpr int64_t kMaxJpegBlockPasses = 32 * 1024 * 1024;

// Most text of all cells of one workbook, counting every expanded repeat and every use of a
// shared string. Colour schemes hold a few KB of text.
inline constexpr int64_t kMaxWorkbookText = 16 * 1024 * 1024;

// Largest file any reader takes into memory whole (pictures to convert included; the
// largest BMP within the pixel limit is 192 MiB).
inline constexpr int64_t kMaxReadFileSize = 256 * 1024 * 1024;

// Largest text file of the program's own kinds: theme maps, file lists, settings.ini,
// package descriptors. Real ones are a few KB to a few hundred KB.
inline constexpr int64_t kMaxTextFileSize = 16 * 1024 * 1024;

// a * b, or -1 when either is negative or the product exceeds `limit`; never overflows.
constexpr int64_t BoundedProduct(int64_t a, int64_t b, int64_t limit) {
  if (a < 0 || b < 0) return -1;
  if (a != 0 && b > limit / a) return -1;
  return a * b <= limit ? a * b : -1;
}

}  // namespace ssf
