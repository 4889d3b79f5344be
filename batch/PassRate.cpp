#include "batch/PassRate.h"

#include "imaging/Extended.h"

namespace photocheck {

int32_t PassRate(int64_t passed, int64_t failed) {
    const int64_t checked = passed + failed;
    if (checked == 0) return 0;
    return ratioPercent(passed, checked);
}

}  // namespace photocheck
