#pragma once
// What the processor offers beyond the x86-64 baseline, asked when first needed. Asking costs
// a few dozen processor identification calls, each a trip to the hypervisor on a virtual
// machine: the compiler's own __builtin_cpu_supports asks at every start of the program, a
// JPEG to BMP run that uses none of the vector code included.

namespace ssf {

bool CpuHasSsse3();
bool CpuHasAvx2();  // and the system saves the AVX registers

}  // namespace ssf
