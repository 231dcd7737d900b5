#pragma once
// What depends on the compiler, in one place: the processor's CPUID instruction and the
// printf-format check of our formatting function. Another compiler (MSVC) needs changes here
// and in cmake/compiler.cmake only.
#include <array>
#include <cstdint>

#if defined(_MSC_VER)
#include <intrin.h>
#elif defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

// Marks a printf-style function so that its calls are checked against their arguments.
#if defined(__MINGW32__)
#define VSI_PRINTF_FORMAT(pattern_arg, first_arg) __attribute__((format(gnu_printf, pattern_arg, first_arg)))  // MinGW formats as C99
#elif defined(__GNUC__)
#define VSI_PRINTF_FORMAT(pattern_arg, first_arg) __attribute__((format(printf, pattern_arg, first_arg)))
#else
#define VSI_PRINTF_FORMAT(pattern_arg, first_arg)
#endif

namespace vsi {

// CPUID with sub-leaf 0: {eax, ebx, ecx, edx}; false where the build has no such instruction.
inline bool CpuidInstruction(uint32_t leaf, std::array<uint32_t, 4>& out) {
#if defined(_MSC_VER)
  int r[4];
  __cpuidex(r, static_cast<int>(leaf), 0);
  out = {static_cast<uint32_t>(r[0]), static_cast<uint32_t>(r[1]), static_cast<uint32_t>(r[2]),
         static_cast<uint32_t>(r[3])};
  return true;
#elif defined(__x86_64__) || defined(__i386__)
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid_count(leaf, 0, a, b, c, d);
  out = {a, b, c, d};
  return true;
#else
  (void)leaf;
  out = {0, 0, 0, 0};
  return false;
#endif
}

}  // namespace vsi
