#pragma once
#include <cstdint>

namespace photocheck {

// The five thresholds the checks compare with; 0 until they are loaded.
struct DetectionParameters {
    int32_t ParamFileSizeKb = 0;  // a photo passes the size check at this many KB or more
    int32_t ParamBlueRatio = 0;   // lowest accepted blue percentage of the top band
    int32_t ParamClarity = 0;     // a clarity count above this fails
    int32_t ParamRegularity = 0;  // lowest accepted uprightness percentage
    int32_t ParamHeadRatio = 0;   // lowest accepted head height percentage
};

}  // namespace photocheck
