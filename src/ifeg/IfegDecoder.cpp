// IFEG decoder (the layout is at the top of Ifeg.h). Untrusted data: every read is
// bounded; a stream or escape area that runs out is an error, not a read past the end.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"
#include "ifeg/IfegScale.h"
#include "ifeg/IfegTables.h"
#include "base/SsfError.h"

namespace ssf {

namespace {

constexpr size_t kMode1StreamStart = 16;
constexpr size_t kMode23StreamStart = 12;

[[noreturn]] void Corrupt(const std::string& what, size_t offset) {
  throw SsfError(std::string(kIfegCorrupt) + ": " + what + " (смещение " +
                 std::to_string(offset) + ")");
}

// One pixel code, looked up by the next 12 bits of the stream: a copy is a difference of
// 0; in modes 2 and 3 an escape's length takes in its 18-bit value.
struct PixelCode {
  int32_t delta;
  uint8_t length;
  uint8_t escape;  // 0 or 1
};
using CodeTable = std::array<PixelCode, 4096>;

CodeTable MakeCodeTable(const DeltaTable& table, bool inline_escapes) {
  CodeTable codes{};
  for (uint32_t c = 0; c < 4096; ++c) {
    if (c & 0x800) {
      codes[c] = {0, 1, 0};
      continue;
    }
    const uint32_t k = (c >> 8) & 7;
    if (k == 7) {
      codes[c] = {0, static_cast<uint8_t>(inline_escapes ? 4 + 18 : 4), 1};
      continue;
    }
    const uint32_t length = 4 + k + 2;
    const uint32_t j = (c >> (12 - length)) & ((1u << (k + 2)) - 1);
    codes[c] = {table[(4u << k) + j], static_cast<uint8_t>(length), 0};
  }
  return codes;
}

// Decodes the blocks, handing out each finished row of blocks. T is uint16_t in mode 1,
// so sums wrap modulo 65536 there, and uint32_t in modes 2 and 3.
//
// The working buffer is the picture's rows in row-major order, read by linear index.
// Every index a block reads lies at most one row back, so only eight rows are kept, as
// a ring: row y is ring row y % 8, and linear index arithmetic stays valid modulo the
// ring's size. Rows are cleared before their block row, as a picture-sized buffer would
// hold zeros there.
template <typename T>
class BlockDecoder {
 public:
  static constexpr uint32_t kRingRows = 8;

  BlockDecoder(ByteSpan data, const IfgHeader& h)
      : data_(data), h_(h), ring_(size_t{kRingRows} * h.width, T{0}), buf_(ring_.data()),
        ring_size_(ring_.size()), reader_(data, h.stream_start),
        codes_(MakeCodeTable(LoadDeltaTable(h.mode != 1, h.mode == 1 && h.table_select == 2), h.mode != 1)),
        stream_bits_((data.size() - h.stream_start) * 8), escape_pos_(h.escape_offset) {}

  // Calls rows_done(first_row, row_count, values) after each row of blocks, values
  // pointing at the first of those rows.
  template <typename RowsDone>
  void Run(RowsDone rows_done) {
    const uint32_t w = h_.width;
    const uint32_t hgt = h_.height;
    for (uint32_t by = 0; by < hgt; by += 4) {
      const uint32_t bh = std::min(4u, hgt - by);
      T* rows = buf_ + size_t{by % kRingRows} * w;
      std::fill_n(rows, size_t{bh} * w, T{0});
      for (uint32_t bx = 0; bx < w; bx += 4) {
        const uint32_t bw = std::min(4u, w - bx);
        const size_t code_pos = h_.stream_start + static_cast<size_t>(reader_.BitsTaken() / 8);
        reader_.Need(2);
        const uint32_t code = reader_.Take(2);
        if (code == 3) {
          if (bx == 0 && by == 0) Corrupt("заполнение строк в первом блоке", code_pos);
          for (uint32_t r = 0; r < bh; ++r) {
            const size_t at = size_t{(by + r) % kRingRows} * w + bx;
            std::fill_n(buf_ + at, bw, buf_[Back(at, 1)]);
          }
        } else {
          const size_t offset = code == 0 ? 1 : code == 1 ? size_t{w} : size_t{w} + 1;
          // Below the first block row every predictor index is inside the picture.
          if (by == 0) {
            Block<true>(bx, by, bw, bh, offset);
          } else {
            Block<false>(bx, by, bw, bh, offset);
          }
        }
        if (reader_.BitsTaken() > stream_bits_) {
          Corrupt("данные кончились раньше последней точки, блок " + std::to_string(bx / 4) +
                      "," + std::to_string(by / 4),
                  data_.size());
        }
      }
      rows_done(by, bh, static_cast<const T*>(rows));
    }
  }

  size_t Consumed() const { return h_.mode == 1 ? escape_pos_ : reader_.NextPosition(); }
  size_t Escapes() const { return escapes_; }

 private:
  template <bool kMayBeNegative>
  void Block(uint32_t bx, uint32_t by, uint32_t bw, uint32_t bh, size_t offset) {
    for (uint32_t y = by; y < by + bh; ++y) {
      const size_t row_at = size_t{y % kRingRows} * h_.width;
      for (uint32_t x = bx; x < bx + bw; ++x) {
        const size_t at = row_at + x;
        T pred;
        if constexpr (kMayBeNegative) {
          // Linear index y * width + x minus the offset before the picture: predictor 0.
          pred = size_t{y} * h_.width + x >= offset ? buf_[Back(at, offset)] : T{0};
        } else {
          pred = buf_[Back(at, offset)];
        }
        reader_.Need(24);
        const PixelCode& c = codes_[reader_.Peek(12)];
        // Escapes are frequent in photos and unpredictable, so the value is picked
        // without a branch.
        const uint32_t escaped = h_.mode == 1 ? NextEscapeValue(c.escape) : reader_.Peek(22) & 0x3FFFF;
        const uint32_t mask = 0u - c.escape;
        buf_[at] = static_cast<T>((escaped & mask) | ((pred + static_cast<uint32_t>(c.delta)) & ~mask));
        reader_.Skip(c.length);
        escapes_ += c.escape;
      }
    }
  }

  // The ring position `offset` elements before `at`.
  size_t Back(size_t at, size_t offset) const {
    return at >= offset ? at - offset : at + ring_size_ - offset;
  }

  // The value at the escape pointer, which moves on when `take` is 1; an escape past
  // the end of the data is an error.
  uint32_t NextEscapeValue(uint8_t take) {
    if (escape_pos_ + 2 > data_.size()) [[unlikely]] {
      if (take) {
        Corrupt("область замен кончилась на замене " + std::to_string(escapes_ + 1), escape_pos_);
      }
      return 0;
    }
    const uint32_t v = data_[escape_pos_] | (data_[escape_pos_ + 1] << 8);
    escape_pos_ += 2u * take;
    return v;
  }

  ByteSpan data_;
  const IfgHeader& h_;
  std::vector<T> ring_;
  T* buf_;
  size_t ring_size_;
  IfgBitReader reader_;
  CodeTable codes_;
  uint64_t stream_bits_;
  size_t escape_pos_;
  size_t escapes_ = 0;
};

// Every block costs at least its 2-bit code, so data too short for that is refused
// before the picture is allocated.
void CheckMinimumLength(ByteSpan data, const IfgHeader& h) {
  uint64_t blocks = ((uint64_t{h.width} + 3) / 4) * ((uint64_t{h.height} + 3) / 4);
  uint64_t stream_bits = (data.size() - h.stream_start) * uint64_t{8};
  if (blocks * 2 > stream_bits) {
    Corrupt("данные кончились раньше последней точки: " + std::to_string(blocks) +
                " блоков, поток " + std::to_string(data.size() - h.stream_start) + " байт",
            data.size());
  }
}

// Converts finished rows to 24 bits while they are still in the cache. Each pixel is
// stored as four bytes, the fourth overwritten by the next pixel; the last one as three.
template <typename T>
void ToImage(const T* values, uint8_t mode, uint32_t first_row, uint32_t rows, Image& out) {
  const size_t count = size_t{rows} * out.width;
  if (count == 0) return;
  uint8_t* p = out.bgr.data() + size_t{first_row} * out.width * 3;
  auto convert = [&](auto bgr) {
    for (size_t i = 0; i + 1 < count; ++i, p += 3) {
      const uint32_t px = bgr(values[i]);
      std::memcpy(p, &px, 4);
    }
    const uint32_t last = bgr(values[count - 1]);
    p[0] = static_cast<uint8_t>(last);
    p[1] = static_cast<uint8_t>(last >> 8);
    p[2] = static_cast<uint8_t>(last >> 16);
  };
  if (mode == 1) {
    convert(ifeg_scale::Bgr565);
  } else {
    convert(ifeg_scale::Bgr666);
  }
}

// The 24-bit picture, or with `values` the packed values instead.
template <typename T>
size_t DecodeInto(ByteSpan data, const IfgHeader& h, Image* picture, IfgPacked* values, bool keep_values = true) {
  CheckMinimumLength(data, h);
  CheckImageSize(h.width, h.height);
  if (picture) *picture = Image(h.width, h.height);
  if (values && keep_values) values->values.assign(size_t{h.width} * h.height, 0);
  BlockDecoder<T> decoder(data, h);
  decoder.Run([&](uint32_t first_row, uint32_t rows, const T* done) {
    if (picture) ToImage(done, h.mode, first_row, rows, *picture);
    if (values && keep_values) {
      std::copy_n(done, size_t{rows} * h.width, values->values.begin() + size_t{first_row} * h.width);
    }
  });
  if (values) {
    values->consumed = decoder.Consumed();
    values->escapes = decoder.Escapes();
  }
  return decoder.Consumed();
}

}  // namespace

bool IsIfgData(ByteSpan data) {
  return data.size() >= 4 && data[0] == 'I' && data[1] == 'F' && data[2] == 'E' && data[3] == 'G';
}

IfgHeader ReadIfgHeader(ByteSpan data) {
  if (!IsIfgData(data)) throw SsfError(std::string(kIfegCorrupt) + ": нет подписи \"IFEG\" (смещение 0)");
  if (data.size() < 9) Corrupt("заголовок обрывается", data.size());
  IfgHeader h;
  h.width = ReadU16LE(data, 4);
  h.height = ReadU16LE(data, 6);
  h.mode = data[8];
  if (h.mode < 1 || h.mode > 3) Corrupt("неизвестный режим " + std::to_string(h.mode), 8);
  h.stream_start = h.mode == 1 ? kMode1StreamStart : kMode23StreamStart;
  if (data.size() < h.stream_start) Corrupt("заголовок обрывается", data.size());
  if (h.mode == 1) {
    h.table_select = data[10];
    h.escape_offset = ReadU32LE(data, 12);
    if (h.escape_offset < h.stream_start || h.escape_offset > data.size()) {
      Corrupt("область замен по смещению " + std::to_string(h.escape_offset) +
                  " вне данных из " + std::to_string(data.size()) + " байт",
              12);
    }
  }
  return h;
}

namespace {

IfgPacked DecodePacked(ByteSpan data, bool keep_values) {
  IfgPacked out;
  out.header = ReadIfgHeader(data);
  if (out.header.mode == 1) {
    DecodeInto<uint16_t>(data, out.header, nullptr, &out, keep_values);
  } else {
    DecodeInto<uint32_t>(data, out.header, nullptr, &out, keep_values);
  }
  return out;
}

}  // namespace

IfgPacked DecodeIFGPacked(ByteSpan data) { return DecodePacked(data, true); }

IfgPacked DecodeIFGSummary(ByteSpan data) { return DecodePacked(data, false); }

size_t DecodeIFG(ByteSpan data, Image& picture, IfgHeader* header) {
  if (!IsIfgData(data)) return 0;
  const IfgHeader h = ReadIfgHeader(data);
  Image out;
  const size_t consumed = h.mode == 1 ? DecodeInto<uint16_t>(data, h, &out, nullptr)
                                      : DecodeInto<uint32_t>(data, h, &out, nullptr);
  picture = std::move(out);
  if (header) *header = h;
  return consumed;
}

}  // namespace ssf
