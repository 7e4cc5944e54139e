#include "platform/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace ssf {

namespace {

struct Features {
  bool ssse3 = false;
  bool avx2 = false;
};

Features Probe() {
  Features f;
#if defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
  f.ssse3 = (c & bit_SSSE3) != 0;
  if ((c & bit_OSXSAVE) != 0 && (c & bit_AVX) != 0) {
    // The system must save the YMM registers (XCR0 bits 1 and 2) for AVX code to be safe.
    unsigned lo = 0, hi = 0;
    __asm__("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6) == 6 && __get_cpuid_count(7, 0, &a, &b, &c, &d)) f.avx2 = (b & bit_AVX2) != 0;
  }
#endif
  return f;
}

const Features& Cpu() {
  static const Features features = Probe();
  return features;
}

}  // namespace

bool CpuHasSsse3() { return Cpu().ssse3; }
bool CpuHasAvx2() { return Cpu().avx2; }

}  // namespace ssf
