#pragma once
#include <utility>
#include <vector>

#include "check/CheckContext.h"
#include "check/Measurement.h"

namespace photocheck {

// Collects what the stages measure on a context into a list of its own while it lives, and puts the
// context's previous sink back when it goes. Not attached, it leaves the context's sink as it is.
class AttachedMeasurements {
  public:
    explicit AttachedMeasurements(CheckContext& ctx, bool attach = true)
        : ctx_(ctx), previous_(ctx.measurements) {
        if (attach) ctx_.measurements = &list_;
    }
    ~AttachedMeasurements() { ctx_.measurements = previous_; }
    AttachedMeasurements(const AttachedMeasurements&) = delete;
    AttachedMeasurements& operator=(const AttachedMeasurements&) = delete;

    std::vector<Measurement> take() { return std::move(list_.items); }

  private:
    CheckContext& ctx_;
    MeasurementSink* previous_;
    MeasurementList list_;
};

}  // namespace photocheck
