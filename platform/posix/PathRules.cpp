#include "platform/Paths.h"

namespace photocheck {

size_t rootLengthOf(const std::string& path) {
    return !path.empty() && path.front() == '/' ? 1 : 0;
}

}  // namespace photocheck
