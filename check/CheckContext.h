#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/GrayLevelRows.h"
#include "check/Measurement.h"
#include "check/ResultRow.h"
#include "imaging/ImageView.h"
#include "platform/Compiler.h"
#include "store/DetectionParameters.h"

namespace photocheck {

// The log pane: a list of text lines that can be cleared, appended to, read and rewritten.
class LogPane {
  public:
    void clear() { lines_.clear(); }
    void add(std::string line) { lines_.push_back(std::move(line)); }
    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int i) const { return lines_.at(static_cast<size_t>(i)); }
    void setLine(int i, std::string text) { lines_.at(static_cast<size_t>(i)) = std::move(text); }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::vector<std::string> lines_;
};

// Everything the check stages read and write for the photo under check: the three photo views, the log
// pane, the two check boxes, the thresholds, the result row, the hair-top row that stage 2 leaves
// for stage 3 and, when one is attached, the sink for what the stages measured. One context judges
// one photo at a time; several contexts can work side by side.
struct CheckContext {
    ImageView orgImage{391, 563};
    ImageView showImage{390, 562};
    ImageView MyImage{390, 563};
    LogPane Memo2;
    bool cbDebug = false;     // "调试模式": the stages write their debug lines
    bool cbEyesLets = false;  // "是否判断瞳孔": too few pupil marks fail the photo
    DetectionParameters params;
    ResultRow row;
    int32_t headUp = 0;  // hair top row less 5, kept from the last photo that had one
    // Receives each measurement with its place while attached (the caller owns it); with none
    // attached nothing is made.
    MeasurementSink* measurements = nullptr;

    // Adds a debug line to the log pane while debug mode is on.
    void debugLine(std::string text) {
        if (cbDebug) Memo2.add(std::move(text));
    }

    // The gray levels of orgImage's picture as the stages read them: each worked out once for the photo,
    // whichever stage reads it first, in memory that serves one photo after another.
    const GrayLevelRows& grayLevelsOfPhoto() {
        if (!grayLevelsVersion_ || *grayLevelsVersion_ != orgImage.pictureVersion()) {
            grayLevels_.reset(orgImage.picture());
            grayLevelsVersion_ = orgImage.pictureVersion();
        }
        return grayLevels_;
    }

    // Hands the measurement that make() builds to the sink; make() runs only while a sink is attached.
    // The building is kept out of the stage's own code, so a check without a sink runs as before.
    template <typename Make>
    void measured(const Make& make) {
        if (PHOTOCHECK_UNLIKELY(measurements != nullptr)) addMeasurement(make);
    }

  private:
    GrayLevelRows grayLevels_;
    std::optional<uint64_t> grayLevelsVersion_;  // orgImage's picture they were worked out for

    template <typename Make>
    PHOTOCHECK_COLD void addMeasurement(const Make& make) {
        measurements->add(make());
    }
};

}  // namespace photocheck
