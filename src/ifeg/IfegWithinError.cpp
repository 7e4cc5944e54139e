// Bounded-error IFEG encoding. The encoder keeps the picture as the decoder will hold
// it and decides each pixel against that: a copy when the predictor is close enough,
// else the cheapest table entry 4..19 that lands close enough, else an escape of the
// exact value. Every stored value is what the decoder computes, so the bound is exact.
//
// A table entry is used only where it adds to each channel without a carry into the
// next one; then the decoded channels are the predictor's plus the entry's, and a
// small table over the three channel differences finds the right entries at once.
#include "ifeg/IfegWithinError.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "ifeg/Ifeg.h"
#include "ifeg/IfegPixelCodes.h"
#include "ifeg/IfegTables.h"

namespace ssf {

namespace {

using namespace ifeg_codes;

struct Channels {
  int b, g, r;
};

// Where the three channels sit in a packed value: RGB565 in mode 1, RGB666 otherwise.
struct Layout {
  explicit Layout(uint32_t mode)
      : blue_bits(mode == 1 ? 5 : 6), green_bits(6), b_max((1 << blue_bits) - 1), g_max(63),
        r_max(mode == 1 ? 31 : 63) {}

  Channels Split(uint32_t v) const {
    return {static_cast<int>(v & static_cast<uint32_t>(b_max)),
            static_cast<int>((v >> blue_bits) & static_cast<uint32_t>(g_max)),
            static_cast<int>(v >> (blue_bits + green_bits))};
  }
  uint32_t Join(Channels c) const {
    return static_cast<uint32_t>(c.b) | static_cast<uint32_t>(c.g) << blue_bits |
           static_cast<uint32_t>(c.r) << (blue_bits + green_bits);
  }
  bool Fits(Channels c) const {
    return c.b >= 0 && c.b <= b_max && c.g >= 0 && c.g <= g_max && c.r >= 0 && c.r <= r_max;
  }

  // A difference of packed values as one signed step per channel, each within half the
  // channel's range, so that adding it channel by channel gives the same sum.
  Channels Digits(int64_t d) const {
    auto low = [](int64_t& rest, unsigned bits) {
      const int64_t span = int64_t{1} << bits;
      int64_t digit = ((rest % span) + span) % span;
      if (digit >= span / 2) digit -= span;
      rest = (rest - digit) / span;
      return static_cast<int>(digit);
    };
    Channels c;
    c.b = low(d, blue_bits);
    c.g = low(d, green_bits);
    c.r = static_cast<int>(d);
    return c;
  }

  unsigned blue_bits, green_bits;
  int b_max, g_max, r_max;
};

bool Within(Channels a, Channels b, int n) {
  return std::abs(a.b - b.b) <= n && std::abs(a.g - b.g) <= n && std::abs(a.r - b.r) <= n;
}

// For every per-channel difference e = source - predictor, the table entries that land
// within the bound, cheapest first and among equal costs the closest.
class EntryChoices {
 public:
  EntryChoices(const Layout& layout, const DeltaTable& table, int n) : n_(n) {
    int reach = 0;
    for (int t = kFirstEntry; t < kEndEntry; ++t) {
      steps_[t] = layout.Digits(table[t]);
      reach = std::max({reach, std::abs(steps_[t].b), std::abs(steps_[t].g), std::abs(steps_[t].r)});
    }
    reach_ = reach + n;
    side_ = 2 * reach_ + 1;
    start_.reserve(static_cast<size_t>(side_) * side_ * side_ + 1);
    std::vector<std::tuple<unsigned, int, int>> fit;  // cost, squared error, entry
    for (int er = -reach_; er <= reach_; ++er) {
      for (int eg = -reach_; eg <= reach_; ++eg) {
        for (int eb = -reach_; eb <= reach_; ++eb) {
          start_.push_back(static_cast<uint32_t>(list_.size()));
          fit.clear();
          for (int t = kFirstEntry; t < kEndEntry; ++t) {
            const Channels rest{eb - steps_[t].b, eg - steps_[t].g, er - steps_[t].r};
            if (!Within(rest, {0, 0, 0}, n)) continue;
            fit.emplace_back(Cost(static_cast<uint8_t>(t), 1), rest.b * rest.b + rest.g * rest.g + rest.r * rest.r, t);
          }
          std::sort(fit.begin(), fit.end());
          for (const auto& f : fit) list_.push_back(static_cast<uint8_t>(std::get<2>(f)));
        }
      }
    }
    start_.push_back(static_cast<uint32_t>(list_.size()));
  }

  // The code for `target` predicted by `pred`, and the value the decoder will hold.
  uint8_t Choose(const Layout& layout, Channels pred, Channels target, uint32_t target_value,
                 uint32_t pred_value, uint32_t& decoded) const {
    const Channels e{target.b - pred.b, target.g - pred.g, target.r - pred.r};
    if (Within(e, {0, 0, 0}, n_)) {
      decoded = pred_value;
      return kCopy;
    }
    if (Within(e, {0, 0, 0}, reach_)) {
      const size_t cell = (static_cast<size_t>(e.r + reach_) * side_ + static_cast<size_t>(e.g + reach_)) * side_ +
                          static_cast<size_t>(e.b + reach_);
      for (size_t i = start_[cell]; i < start_[cell + 1]; ++i) {
        const uint8_t t = list_[i];
        const Channels sum{pred.b + steps_[t].b, pred.g + steps_[t].g, pred.r + steps_[t].r};
        if (layout.Fits(sum)) {  // no carry, so the channels add on their own
          decoded = layout.Join(sum);
          return t;
        }
      }
    }
    decoded = target_value;
    return kEscape;
  }

 private:
  int n_;
  int reach_ = 0;
  int side_ = 0;
  std::array<Channels, kEndEntry> steps_{};
  std::vector<uint32_t> start_;
  std::vector<uint8_t> list_;
};

struct Candidate {
  std::array<uint8_t, 16> codes;
  std::array<uint32_t, 16> decoded;
  uint64_t cost = 0;
};

class WithinErrorEncoder {
 public:
  WithinErrorEncoder(uint32_t width, uint32_t height, uint32_t mode, std::span<const uint32_t> values,
                     uint32_t max_error, IfgBitWriter& stream, Bytes& escapes)
      : w_(width), h_(height), mode_(mode), n_(static_cast<int>(max_error)), v_(values), layout_(mode),
        choices_(layout_, LoadDeltaTable(mode != 1), n_), out_(size_t{kRingRows} * width, 0),
        stream_(stream), escapes_(escapes) {}

  void Run() {
    Candidate cand[3];
    for (uint32_t by = 0; by < h_; by += 4) {
      for (uint32_t bx = 0; bx < w_; bx += 4) {
        const uint32_t bw = std::min(4u, w_ - bx), bh = std::min(4u, h_ - by);
        if (bx > 0 && RowFill(bx, by, bw, bh)) {
          stream_.Put(3, 2);
          continue;
        }
        // Costs alone decide, also on the picture's edges: a prediction that cannot be
        // used there escapes its pixels and so loses by itself.
        uint32_t code = 0;
        for (uint32_t c = 0; c < 3; ++c) {
          Fill(bx, by, bw, bh, c, cand[c]);
          if (cand[c].cost < cand[code].cost) code = c;
        }
        Emit(bx, by, bw, bh, code, cand[code]);
      }
    }
  }

 private:
  // Row fill when every pixel is close enough to the decoded pixel left of its row.
  bool RowFill(uint32_t bx, uint32_t by, uint32_t bw, uint32_t bh) {
    for (uint32_t y = by; y < by + bh; ++y) {
      const size_t row = size_t{y} * w_;
      const Channels left = layout_.Split(out_[Ring(y) + bx - 1]);
      for (uint32_t x = bx; x < bx + bw; ++x) {
        if (!Within(layout_.Split(v_[row + x]), left, n_)) return false;
      }
    }
    for (uint32_t y = by; y < by + bh; ++y) {
      const size_t at = Ring(y) + bx;
      std::fill_n(out_.begin() + static_cast<std::ptrdiff_t>(at), bw, out_[at - 1]);
    }
    return true;
  }

  // Each candidate writes its decoded values into out_ as it goes, so a prediction from
  // inside the block reads what this candidate made there; Emit rewrites the winner's.
  void Fill(uint32_t bx, uint32_t by, uint32_t bw, uint32_t bh, uint32_t code, Candidate& cand) {
    const size_t offset = code == 0 ? 1 : code == 1 ? size_t{w_} : size_t{w_} + 1;
    unsigned n = 0;
    uint64_t cost = 2;
    for (uint32_t y = by; y < by + bh; ++y) {
      for (uint32_t x = bx; x < bx + bw; ++x) {
        const size_t i = size_t{y} * w_ + x;
        const size_t at = Ring(y) + x;
        const bool usable = !((x == 0 && y == 0) || (y == 0 && code != 0) || (x == 0 && code != 1));
        uint8_t c = kEscape;
        uint32_t decoded = v_[i];
        if (usable) {
          const uint32_t pred = out_[at >= offset ? at - offset : at + out_.size() - offset];
          c = choices_.Choose(layout_, layout_.Split(pred), layout_.Split(v_[i]), v_[i], pred, decoded);
        }
        out_[at] = decoded;
        cand.codes[n] = c;
        cand.decoded[n++] = decoded;
        cost += Cost(c, mode_);
      }
    }
    cand.cost = cost;
  }

  void Emit(uint32_t bx, uint32_t by, uint32_t bw, uint32_t bh, uint32_t code, const Candidate& cand) {
    stream_.Put(code, 2);
    unsigned n = 0;
    for (uint32_t y = by; y < by + bh; ++y) {
      for (uint32_t x = bx; x < bx + bw; ++x) {
        const size_t i = size_t{y} * w_ + x;
        out_[Ring(y) + x] = cand.decoded[n];
        PutPixelCode(stream_, escapes_, mode_, cand.codes[n++], v_[i]);
      }
    }
  }

  uint32_t w_, h_, mode_;
  int n_;
  std::span<const uint32_t> v_;
  Layout layout_;
  EntryChoices choices_;
  // The picture as the decoder will hold it. A prediction reaches at most one row back,
  // so eight rows are kept, as a ring: row y is ring row y % 8, and linear index
  // arithmetic stays valid modulo the ring's size.
  static constexpr uint32_t kRingRows = 8;
  size_t Ring(uint32_t y) const { return size_t{y % kRingRows} * w_; }
  std::vector<uint32_t> out_;
  IfgBitWriter& stream_;
  Bytes& escapes_;
};

}  // namespace

void EncodeBlocksWithinError(uint32_t width, uint32_t height, uint32_t mode,
                             std::span<const uint32_t> values, uint32_t max_error,
                             IfgBitWriter& stream, Bytes& escapes) {
  WithinErrorEncoder(width, height, mode, values, max_error, stream, escapes).Run();
}

}  // namespace ssf
