#pragma once
// IFEG, the phone's compressed picture format: lossless on RGB565 (mode 1) or RGB666
// (modes 2, 3) packed values; our encoder can also trade a bounded error for size. Works memory to memory; the file operations are thin
// wrappers in IfegFile.h.
//
// Layout, all fields little-endian:
//
//   offset  size  field
//   0       4     "IFEG"
//   4       2     width  (0..65535)
//   6       2     height (0..65535)
//   8       1     mode: 1 = RGB565, escapes in an escape area; 2, 3 = RGB666, escapes inline
//   9       1     0
//   10      1     mode 1: delta table select (2 = every difference doubled, else plain)
//   11      1     0x65 (mode 1), 0x0A (mode 2), 0x00 (mode 3); not read
//   12      4     mode 1 only: offset of the escape area from byte 0
//   16 / 12 ...   bit stream, most significant bit first
//   mode 1:       one zero byte, then the escape area: one u16 RGB565 value per escaped
//                 pixel, in stream order
//
// Bit stream: the picture in 4x4 blocks (narrower/lower at the right/bottom edge), rows
// of blocks from the top, left to right. Each block opens with a 2-bit code:
//   0 predict from linear index i-1, 1 from i-W, 2 from i-(W+1) (predictor 0 when the
//   index is negative; linear, so column 0 predicts from the end of the row above);
//   3 row fill: each block row copies the pixel just left of the block; no pixel codes.
// Pixel codes after codes 0..2, row-major inside the block:
//   1                      copy the predictor
//   0 kkk(k<=6) j(k+2)     predictor + delta table entry (4 << k) + j
//   0 111                  escape: next escape-area value (mode 1) or next 18 bits
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteIO.h"
#include "pictures/Image.h"

namespace ssf {

// Every decoding error starts with this text, then says what was wrong and where.
inline constexpr std::string_view kIfegCorrupt = "повреждённые данные IFEG";

struct IfgHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t mode = 0;            // 1, 2 or 3
  uint8_t table_select = 0;    // byte 10; read in mode 1 only
  uint32_t escape_offset = 0;  // mode 1 only
  size_t stream_start = 0;     // 16 in mode 1, 12 in modes 2 and 3

  uint32_t Bits() const { return mode == 1 ? 16 : 18; }
};

// True when the data starts with "IFEG".
bool IsIfgData(ByteSpan data);

// Reads and checks the header of data that starts with "IFEG". Throws SsfError
// ("повреждённые данные IFEG: ...") for a short header, an unknown mode or an escape
// area outside the data.
IfgHeader ReadIfgHeader(ByteSpan data);

// The packed values of a decoded picture, row-major from the top.
struct IfgPacked {
  IfgHeader header;
  std::vector<uint32_t> values;  // width * height; RGB565 in mode 1, RGB666 otherwise
  size_t consumed = 0;           // bytes read, as DecodeIFG returns it
  size_t escapes = 0;            // escaped pixels
};

// Decodes to packed values. Throws SsfError for data that is not IFEG or is damaged;
// never reads outside `data`.
IfgPacked DecodeIFGPacked(ByteSpan data);

// The same decoding, keeping only the header and the counts (values stays empty): what
// `ifeg info` and the theme check need, in the memory of a few rows.
IfgPacked DecodeIFGSummary(ByteSpan data);

// Decodes IFEG data into a 24-bit picture and returns the bytes consumed: the end of
// the escape area in mode 1, the bit reader's next unread byte in modes 2 and 3 (its
// look-ahead included, so it may pass the end by up to three bytes). Data that does
// not start with "IFEG" returns 0 and leaves the picture alone. Damaged data throws
// SsfError and also leaves the picture alone. `header`, when given, receives the header.
size_t DecodeIFG(ByteSpan data, Image& picture, IfgHeader* header = nullptr);

// The largest allowed error of the bounded-error encoder, in units of a packed channel.
inline constexpr uint32_t kIfgMaxError = 8;

// Encodes packed values (masked to 16 bits in mode 1, 18 bits in modes 2, 3) as mode
// 1, 2 or 3. Throws SsfError for a side above 65535, a value count that is not
// width * height, another mode, or max_error above kIfgMaxError.
//
// max_error 0 is lossless. With max_error N > 0 each decoded channel (5-bit red and
// blue, 6-bit green in mode 1; 6-bit channels in modes 2, 3) may differ from the given
// value's by up to N units, and the file is much smaller for photos. Either way only
// table entries 4..19 are written.
Bytes EncodeIFGPacked(uint32_t width, uint32_t height, uint32_t mode,
                      std::span<const uint32_t> values, uint32_t max_error = 0);

// Encodes a picture (alpha ignored). Bits and mode are first brought into agreement:
// mode 0 becomes 1, bits 16 forces mode 1, and the mode then decides the bits. Modes
// above 3 are refused with SsfError, as are pictures wider or higher than 65535.
// max_error as for EncodeIFGPacked, counted from the picture's packed values.
Bytes EncodeIFG(const Image& picture, uint32_t bits = 16, uint32_t mode = 1, uint32_t max_error = 0);

// Encodes RGB565 values laid out as in a raw image file (width * height values, low byte
// first; bytes after them ignored) as mode 1, each value as it stands. A picture that is
// RGB565 already must not pass through 8-bit channels: the raw format widens by shifts,
// which the rounding reduction of EncodeIFG does not undo (5-bit 19 -> 152 -> 18). Throws
// SsfError as EncodeIFGPacked does, and for `raw` shorter than the picture.
Bytes EncodeIFGRgb565(ByteSpan raw, uint32_t width, uint32_t height, uint32_t max_error = 0);

// `value` rounded up to the next multiple of `multiple` (unchanged when it is one
// already, or when `multiple` is 0).
uint64_t RoundUp(uint64_t value, uint64_t multiple);

// The rounding scales between 8-bit channels and the packed values.
uint32_t PackRgb565(uint8_t blue, uint8_t green, uint8_t red);
uint32_t PackRgb666(uint8_t blue, uint8_t green, uint8_t red);
void UnpackRgb565(uint32_t value, uint8_t* bgr);
void UnpackRgb666(uint32_t value, uint8_t* bgr);

// A private copy of the embedded table "IFG16" or "IFG18"; nothing for another name.
std::optional<Bytes> LoadTableResource(std::string_view name);

}  // namespace ssf
