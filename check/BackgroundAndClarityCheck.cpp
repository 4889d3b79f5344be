#include "check/BackgroundAndClarityCheck.h"

#include <stdexcept>

namespace photocheck {

// Placeholder until the stage lands; it is never reported as a result.
bool BackgroundAndClarityCheck(CheckContext&) { throw std::logic_error("BackgroundAndClarityCheck is not built yet"); }

}  // namespace photocheck
