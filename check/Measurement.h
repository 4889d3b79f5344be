#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace photocheck {

// What a check stage measured and where, as plain data for whoever draws it: the overlay of the
// command line, the report, the window's photo view. Nothing here draws.

// The measurements the stages report, in the order they can appear for one photo.
enum class MeasureKind {
    FileFormat,       // the extension; no value
    PixelSize,        // width and height in the label; no value, no place
    FileSize,         // KB against the smallest size
    TopBandSides,     // side ratio of rows 5 to 10 against 60; tagged with the head-top test
    TopBandMiddle,    // middle-third ratio against the blue threshold; tagged with the head-top test
    BlueRatio,        // blue percentage of rows 5 to 10
    HairTopRow,       // the first hair row; value the row
    ClarityRegion,    // one region of the clarity check; value its SameCount, judged on its own
    Clarity,          // the final clarity count (the smallest SameCount); no place
    EyeSearchWindow,  // the window of the row projection that finds the eye line
    EyeBand,          // the dark run taken as the eye line; value its height in rows against 35
    EyeInnerEdge,     // a peak of the column profile; value the column; tagged with the head height
    HeadHeight,       // head height percent, placed on the eye-centre row between the two edges
    Uprightness,      // uprightness percent, placed on the eye-centre row from the eyes' centre to the middle
                      // column
    SkinReference,    // the pixel whose colour is taken as the skin colour
    SkinCorner,       // the lower right corner; value the skin percentage against 80
    PupilScan,        // the columns and rows one eye's pupil scan covered; value the marks counted
    PupilMark,        // one counted pupil mark; value its number in its eye (1 or 2), no label
};

// A short English name of the kind, for captions: "blue background", "clarity", ...
const char* measureName(MeasureKind kind);

// Where a measurement lies, in pixel coordinates of the photo (x to the right, y down, both from 0).
// A place may reach past the picture's edge, as some regions of the checks do.
struct Place {
    enum class Shape {
        None,       // the measurement has no place in the photo
        Rectangle,  // columns x1 to x2, rows y1 to y2, all included
        Row,        // row y1, columns x1 to x2 (y2 == y1)
        Column,     // column x1, rows y1 to y2 (x2 == x1)
        Point,      // the pixel (x1, y1) (x2 == x1, y2 == y1)
    };
    Shape shape = Shape::None;
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;

    static Place none() { return {}; }
    static Place rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        return {Shape::Rectangle, x1, y1, x2, y2};
    }
    static Place row(int32_t y, int32_t x1, int32_t x2) { return {Shape::Row, x1, y, x2, y}; }
    static Place column(int32_t x, int32_t y1, int32_t y2) { return {Shape::Column, x, y1, x, y2}; }
    static Place point(int32_t x, int32_t y) { return {Shape::Point, x, y, x, y}; }

    bool operator==(const Place& o) const {
        return shape == o.shape && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
    }
};

// How the stage judged a measurement: passed or failed against its threshold, or not judged at all
// (a place that only shows where the stage looked, or pupils while they are not judged).
enum class Judged { Passed, Failed, NotJudged };

struct Measurement {
    MeasureKind kind = MeasureKind::FileFormat;
    Place place;
    std::optional<int64_t> value;      // the measured number, when the measurement has one
    std::optional<int64_t> threshold;  // what the value was judged against
    Judged judged = Judged::NotJudged;
    std::string label;  // short ASCII text to draw beside the place, e.g. "blue 79<90"
};

// Where the stages hand their measurements, one at a time and in the order they are made.
class MeasurementSink {
  public:
    virtual ~MeasurementSink() = default;
    virtual void add(Measurement measurement) = 0;
};

// A sink that keeps every measurement.
class MeasurementList final : public MeasurementSink {
  public:
    void add(Measurement measurement) override { items.push_back(std::move(measurement)); }
    std::vector<Measurement> items;
};

// A measurement judged against a threshold: the label is name + " " + value, the comparison of the
// value with the threshold ("<", "=" or ">") and the threshold, e.g. "blue 79<90". The tag is the
// stage's own verdict, which is not always the comparison (the head-top test joins two of them).
Measurement judgedMeasurement(MeasureKind kind, const Place& place, int64_t value, int64_t threshold,
                              bool passed, const std::string& name);
// A place the stage looked at, not judged by itself.
Measurement lookedAt(MeasureKind kind, const Place& place, std::optional<int64_t> value, std::string label);

// The measurement that failed the photo: the last one tagged failed, or none.
const Measurement* decidingFailure(const std::vector<Measurement>& measurements);

}  // namespace photocheck
