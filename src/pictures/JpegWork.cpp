#include "pictures/JpegWork.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/Limits.h"
#include "base/SsfError.h"

namespace ssf {

namespace {

uint32_t Be16(ByteSpan d, size_t at) { return uint32_t{d[at]} << 8 | d[at + 1]; }

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

bool IsFrame(uint8_t marker) { return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC; }

struct Component {
  uint8_t id = 0;
  JpegComponentSampling sampling;
};

struct Frame {
  bool seen = false;
  uint32_t width = 0, height = 0, h_max = 1, v_max = 1;
  std::vector<Component> components;
};

Frame ReadFrame(ByteSpan d, size_t body, size_t length) {
  Frame f;
  if (length < 6) return f;
  f.height = Be16(d, body + 1);
  f.width = Be16(d, body + 3);
  const size_t count = d[body + 5];
  if (length < 6 + 3 * count) return f;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t hv = d[body + 6 + 3 * i + 1];
    Component c{d[body + 6 + 3 * i], {std::max(1u, uint32_t{hv} >> 4), std::max(1u, uint32_t{hv} & 15)}};
    f.h_max = std::max(f.h_max, c.sampling.h);
    f.v_max = std::max(f.v_max, c.sampling.v);
    f.components.push_back(c);
  }
  f.seen = true;
  return f;
}

uint64_t ScanBlocks(const Frame& f, ByteSpan d, size_t body, size_t length) {
  if (length < 1) return 0;
  const size_t count = std::min<size_t>(d[body], (length - 1) / 2);
  std::vector<JpegComponentSampling> in_scan;
  for (size_t i = 0; i < count && i < 4; ++i) {
    const uint8_t id = d[body + 1 + 2 * i];
    auto c = std::find_if(f.components.begin(), f.components.end(), [id](const Component& x) { return x.id == id; });
    // An unknown id is an error to libjpeg; counted as the largest component meanwhile.
    in_scan.push_back(c != f.components.end() ? c->sampling : JpegComponentSampling{f.h_max, f.v_max});
  }
  return JpegScanBlocks(f.width, f.height, f.h_max, f.v_max, in_scan.data(), static_cast<int>(in_scan.size()));
}

// The offset of the marker that ends the entropy-coded data starting at `at`.
size_t SkipEntropyData(ByteSpan d, size_t at) {
  while (at + 1 < d.size()) {
    if (d[at] == 0xFF) {
      const uint8_t next = d[at + 1];
      if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) return at;
      at += next == 0xFF ? 1 : 2;
    } else {
      ++at;
    }
  }
  return d.size();
}

}  // namespace

uint64_t JpegScanBlocks(uint32_t width, uint32_t height, uint32_t h_max, uint32_t v_max,
                        const JpegComponentSampling* in_scan, int count) {
  if (count <= 0 || h_max == 0 || v_max == 0) return 0;
  if (count == 1) {
    const uint64_t w = CeilDiv(uint64_t{width} * in_scan[0].h, h_max), h = CeilDiv(uint64_t{height} * in_scan[0].v, v_max);
    return CeilDiv(w, 8) * CeilDiv(h, 8);
  }
  uint64_t per_mcu = 0;
  for (int i = 0; i < count; ++i) per_mcu += uint64_t{in_scan[i].h} * in_scan[i].v;
  return CeilDiv(width, 8ull * h_max) * CeilDiv(height, 8ull * v_max) * per_mcu;
}

JpegWork CountJpegWork(ByteSpan d) {
  JpegWork work;
  Frame frame;
  size_t at = 2;
  while (at + 1 < d.size()) {
    if (d[at] != 0xFF) return work;
    const uint8_t marker = d[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD9) return work;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (at + 4 > d.size()) return work;
    const size_t length = Be16(d, at + 2);
    if (length < 2 || at + 2 + length > d.size()) return work;
    const size_t body = at + 4, body_length = length - 2;
    if (IsFrame(marker) && !frame.seen) frame = ReadFrame(d, body, body_length);
    at += 2 + length;
    if (marker == 0xDA) {
      if (!frame.seen) return work;
      ++work.scans;
      work.block_passes += ScanBlocks(frame, d, body, body_length);
      at = SkipEntropyData(d, at);
    }
  }
  return work;
}

void CheckJpegWork(const JpegWork& work) {
  if (work.scans > kMaxJpegScans) {
    throw SsfError("Файл JPEG: больше " + std::to_string(kMaxJpegScans) + " сканов (" + std::to_string(work.scans) + ")");
  }
  if (work.block_passes > static_cast<uint64_t>(kMaxJpegBlockPasses)) {
    throw SsfError("Файл JPEG: сканы (" + std::to_string(work.scans) + ") обходят блоки 8x8 " +
                   std::to_string(work.block_passes) + " раз, допустимо не более " +
                   std::to_string(kMaxJpegBlockPasses));
  }
}

}  // namespace ssf
