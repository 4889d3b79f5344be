#pragma once

// The compiler's hints that the core uses, each behind one macro that is empty where the compiler or
// the system does not offer it: the code stays standard C++ everywhere.

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
