#pragma once

// The compiler's hints that the core uses, each behind one macro that is empty where the compiler or
// the system does not offer it: the code stays standard C++ everywhere.

// A loop function compiled twice, for processors with AVX2 and for every other, chosen when the
// program starts (GCC on Linux: it needs the ELF loader's indirect functions), and vectorised at
// every optimisation level.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__ELF__) && !defined(__clang__)
#define PHOTOCHECK_VECTOR_CLONES \
    __attribute__((target_clones("avx2", "default"), optimize("tree-vectorize", "vect-cost-model=dynamic")))
#else
#define PHOTOCHECK_VECTOR_CLONES
#endif

// A condition that is nearly always false: the compiler keeps its branch out of the way.
#if defined(__GNUC__)
#define PHOTOCHECK_UNLIKELY(condition) __builtin_expect(!!(condition), 0)
#else
#define PHOTOCHECK_UNLIKELY(condition) (condition)
#endif

// A function that runs rarely and is never inlined into its callers.
#if defined(__GNUC__)
#define PHOTOCHECK_COLD __attribute__((noinline, cold))
#else
#define PHOTOCHECK_COLD
#endif
