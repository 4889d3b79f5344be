#pragma once
#include <cstdint>

namespace photocheck {

// The share of passed photos in whole percent: passed / (passed + failed) x 100, rounded half up in
// extended precision (1 of 8 gives 13). A run without any file has the rate 0.
int32_t PassRate(int64_t passed, int64_t failed);

}  // namespace photocheck
