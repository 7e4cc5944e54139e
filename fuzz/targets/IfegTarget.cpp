#include "FuzzTargets.h"
#include "ifeg/Ifeg.h"
#include "base/SsfError.h"

namespace ssf::fuzz {

// Any bytes: decoded or refused with SsfError. What decodes must survive a round trip:
// encoding the decoded packed values and decoding again gives them back.
void FuzzIfegDecode(std::span<const uint8_t> data) {
  IfgPacked first;
  try {
    first = DecodeIFGPacked(data);
  } catch (const SsfError&) {
    return;
  }
  const IfgHeader& h = first.header;
  // Mode 1 values are 16-bit already; modes 2 and 3 keep only their low 18 bits.
  for (uint32_t& v : first.values) v &= h.mode == 1 ? 0xFFFFu : 0x3FFFFu;
  IfgPacked second = DecodeIFGPacked(EncodeIFGPacked(h.width, h.height, h.mode, first.values));
  if (second.values != first.values) __builtin_trap();
}

}  // namespace ssf::fuzz
