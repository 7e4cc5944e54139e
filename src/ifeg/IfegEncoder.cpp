// IFEG encoder (the layout is at the top of Ifeg.h). For each block: a row fill when it
// fits, else the cheapest of the three predictions, with the position rules on top.
// Only table entries 4..19, whose values the format fixes, are ever written; every other
// difference is escaped, so our files decode the same with any delta table. With an
// allowed error the blocks are chosen by IfegWithinError.cpp instead.
#include <algorithm>
#include <cstdlib>
#include <array>
#include <string>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegBits.h"
#include "ifeg/IfegPixelCodes.h"
#include "ifeg/IfegScale.h"
#include "ifeg/IfegWithinError.h"
#include "ifeg/IfegTables.h"
#include "base/SsfError.h"

namespace ssf {

namespace {

using namespace ifeg_codes;

constexpr uint32_t kMaxSide = 65535;

// Difference -> pixel code in constant time: a direct table over the range of the
// usable entries' values (within +-8192 for both tables); 0 is a copy.
class CodeLookup {
 public:
  explicit CodeLookup(const DeltaTable& table) {
    int64_t reach = 0;
    for (int t = kFirstEntry; t < kEndEntry; ++t) reach = std::max<int64_t>(reach, std::abs(int64_t{table[t]}));
    reach_ = static_cast<uint32_t>(reach);
    code_.assign(2 * size_t{reach_} + 1, kEscape);
    // The first of equal values wins, as a scan upward from entry 4 would find.
    for (int t = kEndEntry - 1; t >= kFirstEntry; --t) {
      if (table[t] != 0) code_[static_cast<size_t>(int64_t{table[t]} + reach_)] = static_cast<uint8_t>(t);
    }
    code_[reach_] = kCopy;
  }

  uint8_t Find(int64_t diff) const {
    const uint64_t at = static_cast<uint64_t>(diff + reach_);
    return at < code_.size() ? code_[at] : kEscape;
  }

 private:
  uint32_t reach_ = 0;
  std::vector<uint8_t> code_;
};

struct Block {
  uint32_t bx, by, bw, bh;
};

// One block under one prediction: the code of each pixel in order and the total cost
// (bits, with escape-area bytes counted as 8 bits each).
struct Candidate {
  std::array<uint8_t, 16> codes;
  uint64_t cost = 0;
};

class Encoder {
 public:
  Encoder(uint32_t width, uint32_t height, uint32_t mode, std::span<const uint32_t> values)
      : w_(width), h_(height), mode_(mode), v_(values),
        lookup_(LoadDeltaTable(mode != 1)) {
    for (int t = 0; t < kEndEntry; ++t) cost_[t] = static_cast<uint8_t>(Cost(static_cast<uint8_t>(t), mode));
    stream_.Reserve(v_.size() / 2 + 16);
  }

  void Run() {
    Candidate cand[3];
    for (uint32_t by = 0; by < h_; by += 4) {
      for (uint32_t bx = 0; bx < w_; bx += 4) {
        Block b{bx, by, std::min(4u, w_ - bx), std::min(4u, h_ - by)};
        if (bx > 0 && IsRowFill(b)) {
          stream_.Put(3, 2);
          continue;
        }
        // The position decides for the first row and column of blocks; elsewhere the
        // cheapest candidate wins, a tie keeping the lower code.
        uint32_t code;
        if (bx == 0 || by == 0) {
          code = (bx == 0 && by > 0) ? 1 : 0;
          Fill<true>(b, code, cand[code]);
        } else {
          code = 0;
          for (uint32_t c = 0; c < 3; ++c) {
            Fill<false>(b, c, cand[c]);
            if (cand[c].cost < cand[code].cost) code = c;
          }
        }
        Emit(b, code, cand[code]);
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

  // Column 0 is never predicted from the left or up-left, row 0 never from above, and
  // the first pixel never: such pixels are escaped. Away from the picture's top and
  // left edges (kAtEdge false) every prediction is usable.
  template <bool kAtEdge>
  void Fill(const Block& b, uint32_t code, Candidate& cand) const {
    const size_t offset = code == 0 ? 1 : code == 1 ? size_t{w_} : size_t{w_} + 1;
    unsigned n = 0;
    uint64_t cost = 2;
    const uint32_t* v = v_.data();
    for (uint32_t y = b.by; y < b.by + b.bh; ++y) {
      for (uint32_t x = b.bx; x < b.bx + b.bw; ++x) {
        const size_t i = static_cast<size_t>(y) * w_ + x;
        uint8_t c = kEscape;
        bool usable = true;
        if constexpr (kAtEdge) {
          usable = !((x == 0 && y == 0) || (y == 0 && code != 0) || (x == 0 && code != 1));
        }
        if (usable) c = lookup_.Find(int64_t{v[i]} - v[i - offset]);
        cand.codes[n++] = c;
        cost += cost_[c];
      }
    }
    cand.cost = cost;
  }

  void Emit(const Block& b, uint32_t code, const Candidate& cand) {
    stream_.Put(code, 2);
    unsigned n = 0;
    for (uint32_t y = b.by; y < b.by + b.bh; ++y) {
      const uint32_t* row = v_.data() + static_cast<size_t>(y) * w_;
      for (uint32_t x = b.bx; x < b.bx + b.bw; ++x) {
        PutPixelCode(stream_, escapes_, mode_, cand.codes[n++], row[x]);
      }
    }
  }

  uint32_t w_, h_, mode_;
  std::span<const uint32_t> v_;
  CodeLookup lookup_;
  std::array<uint8_t, kEndEntry> cost_{};
  IfgBitWriter stream_;
  Bytes escapes_;
};

void CheckSides(uint64_t width, uint64_t height) {
  if (width > kMaxSide || height > kMaxSide) {
    throw SsfError("IFEG не вмещает изображение " + std::to_string(width) + "x" +
                   std::to_string(height) + ": не более 65535 точек по стороне");
  }
}

void CheckMaxError(uint32_t max_error) {
  if (max_error > kIfgMaxError) {
    throw SsfError("IFEG: допустимая ошибка " + std::to_string(max_error) + " больше " +
                   std::to_string(kIfgMaxError));
  }
}

}  // namespace

uint64_t RoundUp(uint64_t value, uint64_t multiple) {
  if (multiple == 0) return value;
  uint64_t rest = value % multiple;
  return rest == 0 ? value : value + (multiple - rest);
}

Bytes EncodeIFGPacked(uint32_t width, uint32_t height, uint32_t mode,
                      std::span<const uint32_t> values, uint32_t max_error) {
  CheckSides(width, height);
  if (mode < 1 || mode > 3) throw SsfError("IFEG: неизвестный режим " + std::to_string(mode));
  CheckMaxError(max_error);
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

  IfgBitWriter bits;
  Bytes escapes;
  if (max_error == 0) {
    Encoder enc(width, height, mode, values);
    enc.Run();
    bits = std::move(enc.Stream());
    escapes = std::move(enc.Escapes());
  } else {
    bits.Reserve(values.size() / 4 + 16);
    EncodeBlocksWithinError(width, height, mode, values, max_error, bits, escapes);
  }
  const uint64_t stream_size = RoundUp(bits.BitCount(), 8) / 8;
  Bytes stream = bits.Finish();

  const size_t header = mode == 1 ? 16 : 12;
  Bytes out(header, 0);
  out.reserve(header + stream.size() + 1 + escapes.size());
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
    out.insert(out.end(), escapes.begin(), escapes.end());
  }
  return out;
}

Bytes EncodeIFG(const Image& picture, uint32_t bits, uint32_t mode, uint32_t max_error) {
  if (mode == 0) mode = 1;
  if (bits == 16) mode = 1;
  if (mode > 3) throw SsfError("IFEG: неизвестный режим " + std::to_string(mode));
  CheckSides(picture.width, picture.height);
  CheckMaxError(max_error);
  if (picture.bgr.size() != picture.PixelCount() * 3) {
    throw SsfError("IFEG: у изображения " + std::to_string(picture.bgr.size()) +
                   " байт точек вместо " + std::to_string(picture.PixelCount() * 3));
  }
  std::vector<uint32_t> values(picture.PixelCount());
  const uint8_t* p = picture.bgr.data();
  if (mode == 1) {
    for (uint32_t& v : values) { v = ifeg_scale::Pack565(p); p += 3; }
  } else {
    for (uint32_t& v : values) { v = ifeg_scale::Pack666(p); p += 3; }
  }
  return EncodeIFGPacked(picture.width, picture.height, mode, values, max_error);
}

Bytes EncodeIFGRgb565(ByteSpan raw, uint32_t width, uint32_t height, uint32_t max_error) {
  CheckSides(width, height);
  const uint64_t count = uint64_t{width} * height;
  if (raw.size() / 2 < count) {
    throw SsfError("IFEG: " + std::to_string(raw.size()) + " байт RGB565 для изображения " +
                   std::to_string(width) + "x" + std::to_string(height) + ", нужно " + std::to_string(count * 2));
  }
  std::vector<uint32_t> values(count);
  for (size_t i = 0; i < values.size(); ++i) values[i] = raw[2 * i] | uint32_t{raw[2 * i + 1]} << 8;
  return EncodeIFGPacked(width, height, 1, values, max_error);
}

}  // namespace ssf
