#include "check/FaceFeatureCheck.h"

#include <stdexcept>

namespace photocheck {

// Placeholder until the stage lands; it is never reported as a result.
bool FaceFeatureCheck(CheckContext&) { throw std::logic_error("FaceFeatureCheck is not built yet"); }

}  // namespace photocheck
