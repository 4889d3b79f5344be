#include "tools/samplegen/SampleSet.h"

#include "tools/samplegen/IdPhotoPainter.h"

namespace photocheck::samplegen {
namespace {

SampleRecipe passing(std::string fileName, std::string purpose, PhotoSpec spec) {
    return {std::move(fileName), std::move(purpose), spec, {}, "", ""};
}

SampleRecipe failing(std::string fileName, std::string purpose, PhotoSpec spec, const std::string& reason) {
    return {std::move(fileName), std::move(purpose), spec, {}, reason, reason};
}

PhotoSpec withSeed(uint64_t seed) {
    PhotoSpec spec;
    spec.seed = seed;
    return spec;
}

}  // namespace

std::vector<SampleRecipe> bundledSamples() {
    std::vector<SampleRecipe> set;

    set.push_back(passing("pass-a.jpg", "an ordinary photo that passes every check", withSeed(101)));

    PhotoSpec fair = withSeed(202);
    fair.skin = makeColour(238, 200, 174);
    fair.hair = makeColour(26, 22, 22);
    fair.clothing = makeColour(52, 52, 58);
    fair.iris = makeColour(58, 40, 30);
    fair.shiftX = -2;
    fair.headTiltDegrees = 2;
    set.push_back(passing("pass-b.jpg", "fair skin, charcoal jacket, head turned a little", fair));

    PhotoSpec tanned = withSeed(303);
    tanned.skin = makeColour(204, 158, 126);
    tanned.hair = makeColour(52, 36, 26);
    tanned.clothing = makeColour(30, 58, 50);
    tanned.headScale = 1.06;
    tanned.shiftY = 8;
    set.push_back(passing("pass-c.jpg", "darker skin, green jacket, a slightly larger head", tanned));

    SampleRecipe jpeg = failing("format-jpeg.jpeg", "a good photo saved with the extension .jpeg",
                                withSeed(404), "照片格式必须是JPG");
    set.push_back(jpeg);

    PhotoSpec small = withSeed(505);
    small.width = 358;
    small.height = 441;
    set.push_back(
        failing("size-358x441.jpg", "the photo in another pixel size", small, "照片像素必须是390*567"));

    PhotoSpec plain = withSeed(606);
    plain.grain = 0;
    SampleRecipe tiny = failing("small-file.jpg", "no grain and strong compression: a file under 30 KB",
                                plain, "文件小于30KB");
    tiny.jpeg.quality = 50;
    set.push_back(tiny);

    PhotoSpec high = withSeed(707);
    high.shiftY = -80;
    set.push_back(
        failing("head-too-high.jpg", "framed too low: the hair reaches the top edge", high, "头部过高了"));

    PhotoSpec pale = withSeed(808);
    pale.shadowWidth = 150;
    set.push_back(
        failing("grey-wall.jpg", "the wall turns grey towards the left edge", pale, "背景不是浅蓝色"));

    PhotoSpec soft = withSeed(909);
    soft.blurSigma = 3;
    soft.grain = 0;
    SampleRecipe blurred = failing("blurred.jpg", "out of focus", soft, "照片清晰度不够");
    blurred.jpeg.quality = 100;
    set.push_back(blurred);

    PhotoSpec glasses = withSeed(1010);
    glasses.glasses = true;
    set.push_back(failing("glasses.jpg", "heavy dark glasses frames", glasses, "佩戴眼镜或头歪斜"));

    PhotoSpec tilted = withSeed(1111);
    tilted.headTiltDegrees = 10;
    set.push_back(failing("tilted-head.jpg", "the head leans to one side", tilted, "佩戴眼镜或头歪斜"));

    PhotoSpec far = withSeed(1212);
    far.headScale = 0.8;
    set.push_back(failing("small-head.jpg", "the head too small in the frame", far, "头部高度要大于等于50"));

    PhotoSpec aside = withSeed(1313);
    aside.shiftX = -38;
    set.push_back(failing("off-centre.jpg", "the person stands left of the middle", aside, "身体不正"));

    PhotoSpec bare = withSeed(1414);
    bare.bareShoulders = true;
    set.push_back(failing("bare-shoulders.jpg", "a strapless top: bare skin in the lower corner", bare,
                          "不能穿低胸装"));

    PhotoSpec dull = withSeed(1515);
    dull.catchLights = false;
    SampleRecipe noLights = passing("no-catchlights.jpg", "no flash reflections in the eyes", dull);
    noLights.reasonJudgingPupils = "右眼瞳孔必须不小于2个";
    set.push_back(noLights);

    return set;
}

void writeSample(const SampleRecipe& recipe, const std::string& folder) {
    writeJpeg(paintIdPhoto(recipe.spec), folder + recipe.fileName, recipe.jpeg);
}

}  // namespace photocheck::samplegen
