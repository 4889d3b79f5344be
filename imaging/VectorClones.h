#pragma once

// Marks a pixel loop to be vectorised at every optimisation level, with a second copy for processors
// with AVX2, chosen when the program starts. The loop must be plain integer arithmetic, so that both
// copies give the same results.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__clang__)
#define PHOTOCHECK_VECTOR_CLONES \
    __attribute__((target_clones("avx2", "default"), optimize("tree-vectorize", "vect-cost-model=dynamic")))
#else
#define PHOTOCHECK_VECTOR_CLONES
#endif
