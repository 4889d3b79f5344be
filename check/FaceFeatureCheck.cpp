#include "check/FaceFeatureCheck.h"

#include "check/ClothingAndPupils.h"
#include "check/EyeLine.h"
#include "check/GrayMap.h"
#include "check/HeadAndUprightness.h"

namespace photocheck {

bool FaceFeatureCheck(CheckContext& ctx) {
    const Bitmap& photo = ctx.orgImage.picture();
    const GrayMap gray(ctx.grayLevelsOfPhoto());

    const std::optional<EyeLine> eyes = findEyeLine(ctx, gray);
    if (!eyes) return false;
    const std::optional<FaceMeasures> face = measureHeadAndUprightness(ctx, gray, *eyes);
    if (!face) return false;
    return checkClothingAndPupils(ctx, photo, *face);
}

}  // namespace photocheck
