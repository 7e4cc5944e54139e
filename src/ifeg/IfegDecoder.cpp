// IFEG decoder (the layout is at the top of Ifeg.h). Untrusted data: every read is
// bounded; a stream or escape area that runs out is an error, not a read past the end.
#include <algorithm>
#include <string>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"
#include "ifeg/IfegTables.h"
#include "theme/SsfError.h"

namespace ssf {

namespace {

constexpr size_t kMode1StreamStart = 16;
constexpr size_t kMode23StreamStart = 12;

[[noreturn]] void Corrupt(const std::string& what, size_t offset) {
  throw SsfError(std::string(kIfegCorrupt) + ": " + what + " (смещение " +
                 std::to_string(offset) + ")");
}

// Decodes the blocks into `buf` (width * height elements, zero-filled). T is uint16_t
// in mode 1, so sums wrap modulo 65536 there, and uint32_t in modes 2 and 3.
template <typename T>
class BlockDecoder {
 public:
  BlockDecoder(ByteSpan data, const IfgHeader& h, T* buf)
      : data_(data), h_(h), buf_(buf), reader_(data, h.stream_start),
        table_(LoadDeltaTable(h.mode != 1, h.mode == 1 && h.table_select == 2)),
        stream_bits_((data.size() - h.stream_start) * 8), escape_pos_(h.escape_offset) {}

  void Run() {
    const uint32_t w = h_.width;
    const uint32_t hgt = h_.height;
    for (uint32_t by = 0; by < hgt; by += 4) {
      const uint32_t bh = std::min(4u, hgt - by);
      for (uint32_t bx = 0; bx < w; bx += 4) {
        const uint32_t bw = std::min(4u, w - bx);
        const size_t code_pos = Position();
        reader_.Need(2);
        uint32_t code = reader_.Take(2);
        if (code == 3) {
          if (bx == 0 && by == 0) Corrupt("заполнение строк в первом блоке", code_pos);
          for (uint32_t r = 0; r < bh; ++r) {
            size_t row = static_cast<size_t>(by + r) * w;
            std::fill_n(buf_ + row + bx, bw, buf_[row + bx - 1]);
          }
        } else {
          const ptrdiff_t offset = code == 0 ? 1 : code == 1 ? ptrdiff_t{w} : ptrdiff_t{w} + 1;
          for (uint32_t y = by; y < by + bh; ++y) {
            for (uint32_t x = bx; x < bx + bw; ++x) {
              const ptrdiff_t i = static_cast<ptrdiff_t>(y) * w + x;
              buf_[i] = Pixel(i >= offset ? buf_[i - offset] : T{0});
            }
          }
        }
        if (reader_.BitsTaken() > stream_bits_) {
          Corrupt("данные кончились раньше последней точки, блок " + std::to_string(bx / 4) +
                      "," + std::to_string(by / 4),
                  data_.size());
        }
      }
    }
  }

  size_t Consumed() const { return h_.mode == 1 ? escape_pos_ : reader_.NextPosition(); }
  size_t Escapes() const { return escapes_; }

 private:
  size_t Position() const { return h_.stream_start + static_cast<size_t>(reader_.BitsTaken() / 8); }

  T Pixel(T pred) {
    reader_.Need(24);
    if (reader_.Take(1)) return pred;
    const uint32_t k = reader_.Take(3);
    if (k != 7) {
      const uint32_t j = reader_.Take(k + 2);
      return static_cast<T>(pred + static_cast<uint32_t>(table_[(4u << k) + j]));
    }
    ++escapes_;
    if (h_.mode != 1) return static_cast<T>(reader_.Take(18));
    if (escape_pos_ + 2 > data_.size()) {
      Corrupt("область замен кончилась на замене " + std::to_string(escapes_), escape_pos_);
    }
    T v = static_cast<T>(data_[escape_pos_] | (data_[escape_pos_ + 1] << 8));
    escape_pos_ += 2;
    return v;
  }

  ByteSpan data_;
  const IfgHeader& h_;
  T* buf_;
  IfgBitReader reader_;
  DeltaTable table_;
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

template <typename T>
struct Decoded {
  std::vector<T> values;
  size_t consumed;
  size_t escapes;
};

template <typename T>
Decoded<T> DecodeValues(ByteSpan data, const IfgHeader& h) {
  CheckMinimumLength(data, h);
  CheckImageSize(h.width, h.height);
  Decoded<T> out;
  out.values.assign(static_cast<size_t>(h.width) * h.height, T{0});
  BlockDecoder<T> decoder(data, h, out.values.data());
  decoder.Run();
  out.consumed = decoder.Consumed();
  out.escapes = decoder.Escapes();
  return out;
}

template <typename T>
void ToImage(const std::vector<T>& values, uint8_t mode, Image& out) {
  uint8_t* p = out.bgr.data();
  if (mode == 1) {
    for (T v : values) { UnpackRgb565(v, p); p += 3; }
  } else {
    for (T v : values) { UnpackRgb666(v, p); p += 3; }
  }
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

IfgPacked DecodeIFGPacked(ByteSpan data) {
  IfgPacked out;
  out.header = ReadIfgHeader(data);
  if (out.header.mode == 1) {
    auto d = DecodeValues<uint16_t>(data, out.header);
    out.values.assign(d.values.begin(), d.values.end());
    out.consumed = d.consumed;
    out.escapes = d.escapes;
  } else {
    auto d = DecodeValues<uint32_t>(data, out.header);
    out.values = std::move(d.values);
    out.consumed = d.consumed;
    out.escapes = d.escapes;
  }
  return out;
}

size_t DecodeIFG(ByteSpan data, Image& picture, IfgHeader* header) {
  if (!IsIfgData(data)) return 0;
  IfgHeader h = ReadIfgHeader(data);
  size_t consumed = 0;
  Image out;
  if (h.mode == 1) {
    auto d = DecodeValues<uint16_t>(data, h);
    out = Image(h.width, h.height);
    ToImage(d.values, h.mode, out);
    consumed = d.consumed;
  } else {
    auto d = DecodeValues<uint32_t>(data, h);
    out = Image(h.width, h.height);
    ToImage(d.values, h.mode, out);
    consumed = d.consumed;
  }
  picture = std::move(out);
  if (header) *header = h;
  return consumed;
}

}  // namespace ssf
