#include <gtest/gtest.h>

#include "check/EyeLine.h"
#include "tests/check/FacePhoto.h"

namespace photocheck {
namespace {

using test::blankPhoto;
using test::EyeDark;
using test::fillRect;

constexpr Colour Gray80 = makeColour(80, 80, 80);  // gray level exactly 80
constexpr Colour Gray79 = makeColour(79, 79, 79);

// A profile of n entries with the given value over entries from to to.
std::vector<uint8_t> profileWith(int n, int from, int to, uint8_t value = 50) {
    std::vector<uint8_t> p(static_cast<size_t>(n), 0);
    for (int k = from; k <= to; ++k) p[static_cast<size_t>(k)] = value;
    return p;
}

struct EyeRunTest : ::testing::Test {
    const Window window = centralWindow(PhotoWidth, PhotoHeight);
    const Bitmap blank = blankPhoto();
    const GrayMap white{blank};  // no dark pixel anywhere: no width test is passed

    EyeRun search(const std::vector<uint8_t>& profile) const {
        return findEyeRun(profile, window, white, StartMidPix);
    }
};

// The eye run search on the row profile of a photo with one dark bar.
EyeRun searchPhotoWithBar(int x1, int y1, int x2, int y2) {
    Bitmap photo = blankPhoto();
    fillRect(photo, x1, y1, x2, y2, EyeDark);
    const GrayMap gray(photo);
    const Window window = centralWindow(PhotoWidth, PhotoHeight);
    return findEyeRun(rowProfile(gray, window, StartMidPix), window, gray, StartMidPix);
}

TEST(CentralWindowTest, StandardPhotoGivesTheFixedWindow) {
    const Window w = centralWindow(PhotoWidth, PhotoHeight);
    EXPECT_EQ(125, w.X1);
    EXPECT_EQ(265, w.X2);
    EXPECT_EQ(163, w.Y1);
    EXPECT_EQ(283, w.Y2);
}

TEST(CentralWindowTest, HalvesRoundTowardZero) {
    const Window w = centralWindow(391, 11);
    EXPECT_EQ(125, w.X1);
    EXPECT_EQ(265, w.X2);
    EXPECT_EQ(-115, w.Y1);
    EXPECT_EQ(5, w.Y2);
}

TEST(RowProfileTest, CountsFromTheBottomRowUpAndLeavesOutColumnX2) {
    Bitmap b(12, 6);
    fillRect(b, 2, 0, 2, 5, EyeDark);  // column X1: dark in every row
    fillRect(b, 8, 0, 8, 5, EyeDark);  // column X2: never counted
    b.setPixel(5, 4, EyeDark);         // bottom row of the window
    b.setPixel(6, 1, Gray79);          // top row of the window
    const Window w{2, 8, 1, 4};
    const std::vector<uint8_t> expected{2, 1, 1, 2};
    EXPECT_EQ(expected, rowProfile(GrayMap(b), w, StartMidPix));
}

TEST(RowProfileTest, GrayLevelEqualToTheThresholdIsNotDark) {
    Bitmap b(4, 2);
    fillRect(b, 0, 0, 3, 0, Gray80);
    fillRect(b, 0, 1, 3, 1, Gray79);
    const std::vector<uint8_t> expected{3, 0};
    EXPECT_EQ(expected, rowProfile(GrayMap(b), Window{0, 3, 0, 1}, StartMidPix));
}

TEST(RowProfileTest, RowOutsideThePictureRaisesTheScanLineError) {
    const Bitmap b(4, 2);
    EXPECT_THROW(rowProfile(GrayMap(b), Window{0, 3, -1, 1}, StartMidPix), ScanLineError);
}

TEST_F(EyeRunTest, NoDarkRowStartsNoRun) {
    const EyeRun run = search(std::vector<uint8_t>(121, 0));
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, run.outcome);
    EXPECT_EQ(0, run.EyeHeight);
    EXPECT_EQ(0, run.EyeBandTop);
    EXPECT_EQ(0, run.EyeBandBottom);
}

TEST_F(EyeRunTest, SingleDarkRowsStartNoRun) {
    std::vector<uint8_t> p(121, 0);
    p[3] = p[5] = p[120] = 9;
    const EyeRun run = search(p);
    EXPECT_EQ(0, run.EyeBandTop);
    EXPECT_EQ(0, run.EyeBandBottom);
}

TEST_F(EyeRunTest, RunOf35RowsIsMeasured) {
    const EyeRun run = search(profileWith(121, 10, 44));
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, run.outcome);
    EXPECT_EQ(283 - 10, run.EyeBandBottom);
    EXPECT_EQ(283 - 45, run.EyeBandTop);  // the first row above the run
    EXPECT_EQ(0, run.EyeHeight);          // the walk ended on indexes that start no run
}

TEST_F(EyeRunTest, RunOf36RowsFailsWhateverItsWidth) {
    EXPECT_EQ(EyeRun::Outcome::TooTall, search(profileWith(121, 10, 45)).outcome);
    EXPECT_EQ(EyeRun::Outcome::TooTall, search(profileWith(121, 10, 45, 1)).outcome);
}

TEST_F(EyeRunTest, RunReachingTheTopRowEndsOnItsTopRowOneRowShort) {
    const EyeRun run = search(profileWith(121, 100, 120));
    EXPECT_EQ(283 - 100, run.EyeBandBottom);
    EXPECT_EQ(163, run.EyeBandTop);
    EXPECT_EQ(20, run.EyeHeight);  // 21 rows, and the run was started at the last index examined
}

TEST_F(EyeRunTest, RunOf36RowsReachingTheTopRowDoesNotFail) {
    const EyeRun run = search(profileWith(121, 85, 120));
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, run.outcome);
    EXPECT_EQ(35, run.EyeHeight);
}

TEST_F(EyeRunTest, WithoutAcceptedRunTheLastExaminedRunIsKept) {
    std::vector<uint8_t> p = profileWith(121, 5, 14);
    for (int k = 30; k <= 33; ++k) p[static_cast<size_t>(k)] = 7;
    const EyeRun run = search(p);
    EXPECT_EQ(283 - 30, run.EyeBandBottom);
    EXPECT_EQ(283 - 34, run.EyeBandTop);
    EXPECT_EQ(0, run.EyeHeight);
}

TEST(EyeRunWidthTest, EightRowsSeventyWideIsTheEyeLine) {
    const EyeRun run = searchPhotoWithBar(150, 200, 219, 207);
    EXPECT_EQ(EyeRun::Outcome::Accepted, run.outcome);
    EXPECT_EQ(8, run.EyeHeight);
    EXPECT_EQ(207, run.EyeBandBottom);
    EXPECT_EQ(199, run.EyeBandTop);
}

TEST(EyeRunWidthTest, EightRowsSixtyNineWideIsPassedOver) {
    const EyeRun run = searchPhotoWithBar(150, 200, 218, 207);
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, run.outcome);
    EXPECT_EQ(0, run.EyeHeight);
    EXPECT_EQ(207, run.EyeBandBottom);
    EXPECT_EQ(199, run.EyeBandTop);
}

TEST(EyeRunWidthTest, SevenRowsAreNeverTheEyeLine) {
    const EyeRun run = searchPhotoWithBar(100, 200, 299, 206);
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, run.outcome);
    EXPECT_EQ(0, run.EyeHeight);
    EXPECT_EQ(206, run.EyeBandBottom);
    EXPECT_EQ(199, run.EyeBandTop);
}

// Rows 200 to 207 make a run with EyeBandTop 199 and EyeHeight 8, so the test row is 199 + 4.
EyeRun searchNarrowBarWithWideRow(int wideRow, int wideFrom, int wideTo) {
    Bitmap photo = blankPhoto();
    fillRect(photo, 150, 200, 159, 207, EyeDark);
    fillRect(photo, wideFrom, wideRow, wideTo, wideRow, EyeDark);
    const GrayMap gray(photo);
    const Window window = centralWindow(PhotoWidth, PhotoHeight);
    return findEyeRun(rowProfile(gray, window, StartMidPix), window, gray, StartMidPix);
}

TEST(EyeRunWidthTest, OnlyTheMiddleRowOfTheRunIsMeasured) {
    EXPECT_EQ(EyeRun::Outcome::Accepted, searchNarrowBarWithWideRow(203, 150, 219).outcome);
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, searchNarrowBarWithWideRow(202, 150, 219).outcome);
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted, searchNarrowBarWithWideRow(204, 150, 219).outcome);
}

TEST(EyeRunWidthTest, WidthIsSearchedTenColumnsBeyondTheWindow) {
    Bitmap photo = blankPhoto();
    fillRect(photo, 150, 200, 159, 207, EyeDark);
    photo.setPixel(115, 203, EyeDark);  // X1 - 10
    photo.setPixel(184, 203, EyeDark);
    const GrayMap gray(photo);
    const Window window = centralWindow(PhotoWidth, PhotoHeight);
    EXPECT_EQ(EyeRun::Outcome::Accepted, findEyeRun(rowProfile(gray, window, 80), window, gray, 80).outcome);

    photo.setPixel(115, 203, test::Backdrop);
    photo.setPixel(114, 203, EyeDark);  // one column too far
    const GrayMap gray2(photo);
    EXPECT_EQ(EyeRun::Outcome::NoneAccepted,
              findEyeRun(rowProfile(gray2, window, 80), window, gray2, 80).outcome);
}

TEST(EyeCentreTest, HalvesTheBandInExtendedPrecisionAndRoundsHalfUp) {
    EXPECT_EQ(0, eyeCentreY(0, 0));        // 0 - 0.5 + 0.5
    EXPECT_EQ(225, eyeCentreY(219, 231));  // 231 - 6.5 + 0.5
    EXPECT_EQ(203, eyeCentreY(199, 207));  // 207 - 4.5 + 0.5
    EXPECT_EQ(10, eyeCentreY(10, 11));     // 11 - 1 + 0.5 cut to 10
}

TEST(EyeBandTest, WidensTheWindowByTenColumnsOverTheRun) {
    const Window band = eyeBand(centralWindow(PhotoWidth, PhotoHeight), 219, 231);
    EXPECT_EQ(115, band.X1);
    EXPECT_EQ(275, band.X2);
    EXPECT_EQ(219, band.Y1);
    EXPECT_EQ(231, band.Y2);
}

}  // namespace
}  // namespace photocheck
