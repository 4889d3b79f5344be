#pragma once
#include <string>
#include <vector>

#include "imaging/Jpeg.h"
#include "tools/samplegen/PhotoSpec.h"

namespace photocheck::samplegen {

// One photo of the bundled sample set: what to paint, how to save it, and how a batch run with the
// data package's thresholds judges it.
struct SampleRecipe {
    std::string fileName;  // its extension is part of the sample: the format check reads it
    std::string purpose;   // one line for people
    PhotoSpec spec;
    JpegWriteOptions jpeg;
    std::string reason;               // the failure reason; empty when the photo passes
    std::string reasonJudgingPupils;  // the same with pupil judging switched on
};

// The bundled set: passing photos and one or two photos for every reason the checks can give.
std::vector<SampleRecipe> bundledSamples();

// Paints the recipe's photo and writes it as folder + fileName (folder ends with a separator).
void writeSample(const SampleRecipe& recipe, const std::string& folder);

}  // namespace photocheck::samplegen
