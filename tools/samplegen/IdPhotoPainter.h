#pragma once
#include "imaging/Bitmap.h"
#include "tools/samplegen/PhotoSpec.h"

namespace photocheck::samplegen {

// Paints the synthetic ID photo that a PhotoSpec describes: a light-blue wall, a person with short dark
// hair, eyebrows, eyes with irises, pupils and catch-lights, nose, mouth, ears, neck and a dark jacket
// over a white shirt. Deterministic: the same PhotoSpec gives the same pixels.
Bitmap paintIdPhoto(const PhotoSpec& spec);

}  // namespace photocheck::samplegen
