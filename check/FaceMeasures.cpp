#include "check/FaceMeasures.h"

namespace photocheck {

std::string windowText(const std::string& label, const Window& w) {
    return label + " X1=" + std::to_string(w.X1) + "  X2=" + std::to_string(w.X2) +
           "  Y1=" + std::to_string(w.Y1) + "  Y2=" + std::to_string(w.Y2);
}

std::string profileText(const std::vector<uint8_t>& profile) {
    std::string text;
    for (size_t k = 0; k < profile.size(); ++k) {
        if (k > 0) text += " ,";
        text += std::to_string(profile[k]);
    }
    return text;
}

}  // namespace photocheck
