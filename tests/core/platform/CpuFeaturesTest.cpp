#include "platform/CpuFeatures.h"

#include <gtest/gtest.h>

namespace ssf {
namespace {

// Our own probe answers as the compiler's does (a wrong register or bit would pick vector code
// the processor cannot run, or never pick it).
TEST(CpuFeaturesTest, AgreesWithTheCompilersProbe) {
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(CpuHasSsse3(), __builtin_cpu_supports("ssse3") != 0);
  EXPECT_EQ(CpuHasAvx2(), __builtin_cpu_supports("avx2") != 0);
#else
  EXPECT_FALSE(CpuHasSsse3());
  EXPECT_FALSE(CpuHasAvx2());
#endif
}

}  // namespace
}  // namespace ssf
