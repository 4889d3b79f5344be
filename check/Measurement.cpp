#include "check/Measurement.h"

namespace photocheck {

const char* measureName(MeasureKind kind) {
    switch (kind) {
        case MeasureKind::FileFormat:
            return "file format";
        case MeasureKind::PixelSize:
            return "pixel size";
        case MeasureKind::FileSize:
            return "file size";
        case MeasureKind::TopBandSides:
            return "head top, band sides";
        case MeasureKind::TopBandMiddle:
            return "head top, band middle";
        case MeasureKind::BlueRatio:
            return "blue background";
        case MeasureKind::HairTopRow:
            return "hair top row";
        case MeasureKind::ClarityRegion:
            return "clarity region";
        case MeasureKind::Clarity:
            return "clarity";
        case MeasureKind::EyeSearchWindow:
            return "eye line search";
        case MeasureKind::EyeBand:
            return "eye band height";
        case MeasureKind::EyeInnerEdge:
            return "inner eye edge";
        case MeasureKind::HeadHeight:
            return "head height";
        case MeasureKind::Uprightness:
            return "uprightness";
        case MeasureKind::SkinReference:
            return "skin reference";
        case MeasureKind::SkinCorner:
            return "skin in lower corner";
        case MeasureKind::PupilScan:
            return "pupils";
        case MeasureKind::PupilMark:
            return "pupil mark";
    }
    return "measurement";
}

Measurement judgedMeasurement(MeasureKind kind, const Place& place, int64_t value, int64_t threshold,
                              bool passed, const std::string& name) {
    const char* comparison = value < threshold ? "<" : value > threshold ? ">" : "=";
    Measurement m;
    m.kind = kind;
    m.place = place;
    m.value = value;
    m.threshold = threshold;
    m.judged = passed ? Judged::Passed : Judged::Failed;
    m.label = name + " " + std::to_string(value) + comparison + std::to_string(threshold);
    return m;
}

Measurement lookedAt(MeasureKind kind, const Place& place, std::optional<int64_t> value, std::string label) {
    Measurement m;
    m.kind = kind;
    m.place = place;
    m.value = value;
    m.label = std::move(label);
    return m;
}

const Measurement* decidingFailure(const std::vector<Measurement>& measurements) {
    for (auto it = measurements.rbegin(); it != measurements.rend(); ++it)
        if (it->judged == Judged::Failed) return &*it;
    return nullptr;
}

}  // namespace photocheck
