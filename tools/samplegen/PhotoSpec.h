#pragma once
#include <cstdint>

#include "imaging/Bitmap.h"

namespace photocheck::samplegen {

// The knobs of one synthetic ID photo. The picture is laid out on the 390 x 567 design grid (head and
// shoulders of a person in front of a light-blue wall) and sampled at width x height. Every knob has the
// value of an ordinary, acceptable photo; a sample that should fail turns one of them.
struct PhotoSpec {
    uint64_t seed = 1;  // drives the grain and the hair strands; the same spec paints the same pixels
    int width = 390;
    int height = 567;

    // The wall, a little darker at the bottom; over its leftmost shadowWidth columns it fades into the
    // shadow colour, which it reaches at the left edge.
    Colour background = makeColour(150, 200, 240);
    Colour shadow = makeColour(205, 208, 210);
    int shadowWidth = 0;

    // Where the person stands: the whole person moves by this many design pixels.
    int shiftX = 0;
    int shiftY = 0;
    double headScale = 1.0;        // head size, scaled about the chin
    double headTiltDegrees = 0.0;  // head rotation about the point between the eyes, clockwise

    Colour skin = makeColour(226, 182, 152);
    Colour hair = makeColour(38, 28, 24);
    Colour iris = makeColour(72, 46, 32);
    Colour clothing = makeColour(36, 46, 72);
    Colour shirt = makeColour(236, 236, 232);

    bool catchLights = true;     // the two flash reflections in each pupil
    bool glasses = false;        // heavy dark frames around the eyes
    bool bareShoulders = false;  // a strapless top: skin down to the lower corners

    double blurSigma = 0.0;  // out of focus: Gaussian blur of the painted picture, in pixels
    double grain = 5.0;      // sensor grain: amplitude of the luminance noise added after the blur
};

}  // namespace photocheck::samplegen
