// Any file named .jpg goes through the three check stages without crashing, hanging or reading out
// of bounds; errors are exceptions.
#include <exception>

#include "check/BackgroundAndClarityCheck.h"
#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace photocheck;
    const std::string path = fuzz::writeInput("photo.jpg", data, size);
    CheckContext ctx;
    ctx.cbDebug = true;
    ctx.cbEyesLets = true;
    try {
        if (FileCheck(ctx, path) && BackgroundAndClarityCheck(ctx)) FaceFeatureCheck(ctx);
    } catch (const std::exception&) {
    }
    return 0;
}
