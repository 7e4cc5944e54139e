// IFEG encoder (the layout is at the top of Ifeg.h). For each block: a row fill when it
// fits, else the cheapest of the three predictions, with the position rules on top.
// Only table entries 4..19, whose values the format fixes, are ever written; every other
// difference is escaped, so our files decode the same with any delta table.
#include <algorithm>
#include <array>
#include <string>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"
#include "ifeg/IfegTables.h"
#include "theme/SsfError.h"

namespace ssf {

namespace {

constexpr uint32_t kMaxSide = 65535;
constexpr int kFirstEntry = 4;
constexpr int kEndEntry = 20;  // entries 4..19 are the format's own

// Difference -> table entry in constant time: open addressing over 64 slots for the
// 16 usable entries.
class EntryLookup {
 public:
  explicit EntryLookup(const DeltaTable& table) {
    for (int t = kFirstEntry; t < kEndEntry; ++t) {
      uint32_t s = Slot(table[t]);
      while (entry_[s] != 0 && key_[s] != table[t]) s = (s + 1) & 63;
      if (entry_[s] == 0) {
        key_[s] = table[t];
        entry_[s] = static_cast<uint8_t>(t);
      }
    }
  }

  // The entry holding `diff`, or 0.
  int Find(int32_t diff) const {
    for (uint32_t s = Slot(diff);; s = (s + 1) & 63) {
      if (entry_[s] == 0) return 0;
      if (key_[s] == diff) return entry_[s];
    }
  }

 private:
  static uint32_t Slot(int32_t d) { return (static_cast<uint32_t>(d) * 0x9E3779B1u) >> 26; }
  std::array<int32_t, 64> key_{};
  std::array<uint8_t, 64> entry_{};
};

// Code length of table entry t: group k = floor(log2 t) - 2 costs k + 6 bits.
constexpr unsigned Group(int t) { return t < 8 ? 0 : t < 16 ? 1 : 2; }

struct Block {
  uint32_t bx, by, bw, bh;
};

class Encoder {
 public:
  Encoder(uint32_t width, uint32_t height, uint32_t mode, std::span<const uint32_t> values)
      : w_(width), h_(height), mode_(mode), v_(values),
        lookup_(LoadDeltaTable(mode != 1)) {
    stream_.Reserve(v_.size() / 2 + 16);
  }

  void Run() {
    for (uint32_t by = 0; by < h_; by += 4) {
      for (uint32_t bx = 0; bx < w_; bx += 4) {
        Block b{bx, by, std::min(4u, w_ - bx), std::min(4u, h_ - by)};
        if (bx > 0 && IsRowFill(b)) {
          stream_.Put(3, 2);
          continue;
        }
        Emit(b, ChooseCode(b));
      }
    }
  }

  IfgBitWriter& Stream() { return stream_; }
  Bytes& Escapes() { return escapes_; }

 private:
  bool IsRowFill(const Block& b) const {
    for (uint32_t y = b.by; y < b.by + b.bh; ++y) {
      const uint32_t* row = v_.data() + static_cast<size_t>(y) * w_;
      const uint32_t left = row[b.bx - 1];
      for (uint32_t x = b.bx; x < b.bx + b.bw; ++x) {
        if (row[x] != left) return false;
      }
    }
    return true;
  }

  // The position decides for the first row and column of blocks; elsewhere the
  // cheapest candidate wins, a tie keeping the lower code.
  uint32_t ChooseCode(const Block& b) const {
    if (b.bx == 0 && b.by == 0) return 0;
    if (b.bx == 0) return 1;
    if (b.by == 0) return 0;
    uint32_t best = 0;
    uint64_t best_cost = Cost(b, 0);
    for (uint32_t c = 1; c < 3; ++c) {
      uint64_t cost = Cost(b, c);
      if (cost < best_cost) {
        best = c;
        best_cost = cost;
      }
    }
    return best;
  }

  static ptrdiff_t Offset(uint32_t code, uint32_t w) {
    return code == 0 ? 1 : code == 1 ? ptrdiff_t{w} : ptrdiff_t{w} + 1;
  }

  bool Usable(uint32_t code, uint32_t x, uint32_t y) const {
    if (x == 0 && y == 0) return false;
    if (y == 0 && code != 0) return false;
    if (x == 0 && code != 1) return false;
    return true;
  }

  // What one pixel costs: 0 for a copy, a table entry 4..19, or -1 for an escape.
  int Classify(uint32_t code, uint32_t x, uint32_t y) const {
    if (!Usable(code, x, y)) return -1;
    const size_t i = static_cast<size_t>(y) * w_ + x;
    const int64_t diff = int64_t{v_[i]} - v_[i - static_cast<size_t>(Offset(code, w_))];
    if (diff == 0) return 0;
    int t = lookup_.Find(static_cast<int32_t>(diff));
    return t == 0 ? -1 : t;
  }

  uint64_t Cost(const Block& b, uint32_t code) const {
    const unsigned escape_bits = mode_ == 1 ? 4 + 16 : 4 + 18;
    uint64_t bits = 2;
    for (uint32_t y = b.by; y < b.by + b.bh; ++y) {
      for (uint32_t x = b.bx; x < b.bx + b.bw; ++x) {
        int t = Classify(code, x, y);
        bits += t == 0 ? 1 : t < 0 ? escape_bits : Group(t) + 6;
      }
    }
    return bits;
  }

  void Emit(const Block& b, uint32_t code) {
    stream_.Put(code, 2);
    for (uint32_t y = b.by; y < b.by + b.bh; ++y) {
      for (uint32_t x = b.bx; x < b.bx + b.bw; ++x) {
        int t = Classify(code, x, y);
        if (t == 0) {
          stream_.Put(1, 1);
        } else if (t > 0) {
          unsigned k = Group(t);
          stream_.Put((k << (k + 2)) | (static_cast<uint32_t>(t) & ((1u << (k + 2)) - 1)), k + 6);
        } else {
          uint32_t v = v_[static_cast<size_t>(y) * w_ + x];
          stream_.Put(7, 4);
          if (mode_ == 1) {
            AppendU16LE(escapes_, static_cast<uint16_t>(v));
          } else {
            stream_.Put(v, 18);
          }
        }
      }
    }
  }

  uint32_t w_, h_, mode_;
  std::span<const uint32_t> v_;
  EntryLookup lookup_;
  IfgBitWriter stream_;
  Bytes escapes_;
};

void CheckSides(uint64_t width, uint64_t height) {
  if (width > kMaxSide || height > kMaxSide) {
    throw SsfError("IFEG не вмещает изображение " + std::to_string(width) + "x" +
                   std::to_string(height) + ": не более 65535 точек по стороне");
  }
}

}  // namespace

uint64_t RoundUp(uint64_t value, uint64_t multiple) {
  if (multiple == 0) return value;
  uint64_t rest = value % multiple;
  return rest == 0 ? value : value + (multiple - rest);
}

Bytes EncodeIFGPacked(uint32_t width, uint32_t height, uint32_t mode,
                      std::span<const uint32_t> values) {
  CheckSides(width, height);
  if (mode < 1 || mode > 3) throw SsfError("IFEG: неизвестный режим " + std::to_string(mode));
  if (values.size() != uint64_t{width} * height) {
    throw SsfError("IFEG: " + std::to_string(values.size()) + " значений для изображения " +
                   std::to_string(width) + "x" + std::to_string(height));
  }
  const uint32_t mask = mode == 1 ? 0xFFFFu : 0x3FFFFu;
  std::vector<uint32_t> masked;
  if (std::any_of(values.begin(), values.end(), [&](uint32_t v) { return (v & ~mask) != 0; })) {
    masked.assign(values.begin(), values.end());
    for (uint32_t& v : masked) v &= mask;
    values = masked;
  }

  Encoder enc(width, height, mode, values);
  enc.Run();
  const uint64_t stream_size = RoundUp(enc.Stream().BitCount(), 8) / 8;
  Bytes stream = enc.Stream().Finish();

  const size_t header = mode == 1 ? 16 : 12;
  Bytes out(header, 0);
  out.reserve(header + stream.size() + 1 + enc.Escapes().size());
  const uint8_t magic[4] = {'I', 'F', 'E', 'G'};
  std::copy(magic, magic + 4, out.begin());
  WriteU16LE(out, 4, static_cast<uint16_t>(width));
  WriteU16LE(out, 6, static_cast<uint16_t>(height));
  static constexpr uint32_t kModeWord[] = {0, 0x65000001, 0x0A000002, 0x00000003};
  WriteU32LE(out, 8, kModeWord[mode]);
  if (mode == 1) {
    if (16 + stream_size + 1 > 0xFFFFFFFFu) throw SsfError("IFEG: поток кодов длиннее 4 ГБ");
    WriteU32LE(out, 12, static_cast<uint32_t>(16 + stream_size + 1));
  }
  out.insert(out.end(), stream.begin(), stream.end());
  if (mode == 1) {
    out.push_back(0);
    out.insert(out.end(), enc.Escapes().begin(), enc.Escapes().end());
  }
  return out;
}

Bytes EncodeIFG(const Image& picture, uint32_t bits, uint32_t mode) {
  if (mode == 0) mode = 1;
  if (bits == 16) mode = 1;
  if (mode > 3) throw SsfError("IFEG: неизвестный режим " + std::to_string(mode));
  CheckSides(picture.width, picture.height);
  if (picture.bgr.size() != picture.PixelCount() * 3) {
    throw SsfError("IFEG: у изображения " + std::to_string(picture.bgr.size()) +
                   " байт точек вместо " + std::to_string(picture.PixelCount() * 3));
  }
  std::vector<uint32_t> values(picture.PixelCount());
  const uint8_t* p = picture.bgr.data();
  if (mode == 1) {
    for (uint32_t& v : values) { v = PackRgb565(p[0], p[1], p[2]); p += 3; }
  } else {
    for (uint32_t& v : values) { v = PackRgb666(p[0], p[1], p[2]); p += 3; }
  }
  return EncodeIFGPacked(picture.width, picture.height, mode, values);
}

}  // namespace ssf
