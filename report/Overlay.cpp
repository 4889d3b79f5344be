#include "report/Overlay.h"

#include <algorithm>
#include <exception>

#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "report/BitmapFont.h"
#include "report/Drawing.h"

namespace photocheck {
namespace {

constexpr int CrossArm = 3;
constexpr int EndTick = 2;  // the short bars across both ends of a row or a column
constexpr int LabelPadX = 2;
constexpr int LabelPadY = 1;
constexpr int64_t LargestRedecodedPixels = 16'000'000;
constexpr Colour CaptionBackground = makeColour(24, 24, 24);
constexpr Colour CaptionText = makeColour(235, 235, 235);
constexpr Colour PlaceholderGray = makeColour(128, 128, 128);
constexpr int CaptionMargin = 6;
constexpr int HeadlineScale = 2;

struct Box {
    int x1, y1, x2, y2;  // inclusive

    bool overlaps(const Box& o) const { return x1 <= o.x2 && o.x1 <= x2 && y1 <= o.y2 && o.y1 <= y2; }
};

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

Place scaledDown(Place p, bool halfSize) {
    if (!halfSize) return p;
    p.x1 = floorDiv(p.x1, 2);
    p.y1 = floorDiv(p.y1, 2);
    p.x2 = floorDiv(p.x2, 2);
    p.y2 = floorDiv(p.y2, 2);
    return p;
}

Place normalised(Place p) {
    if (p.x1 > p.x2) std::swap(p.x1, p.x2);
    if (p.y1 > p.y2) std::swap(p.y1, p.y2);
    return p;
}

void addRow(std::vector<OverlayStroke>& strokes, int y, int x1, int x2, Colour c) {
    strokes.push_back({OverlayStroke::Shape::Row, x1, y, x2, y, c});
}

void addColumn(std::vector<OverlayStroke>& strokes, int x, int y1, int y2, Colour c) {
    strokes.push_back({OverlayStroke::Shape::Column, x, y1, x, y2, c});
}

void addMark(std::vector<OverlayStroke>& strokes, const Place& p, Colour c) {
    switch (p.shape) {
        case Place::Shape::Rectangle:
            strokes.push_back({OverlayStroke::Shape::Outline, p.x1, p.y1, p.x2, p.y2, c});
            break;
        case Place::Shape::Row:
            addRow(strokes, p.y1, p.x1, p.x2, c);
            addColumn(strokes, p.x1, p.y1 - EndTick, p.y1 + EndTick, c);
            addColumn(strokes, p.x2, p.y1 - EndTick, p.y1 + EndTick, c);
            break;
        case Place::Shape::Column:
            addColumn(strokes, p.x1, p.y1, p.y2, c);
            addRow(strokes, p.y1, p.x1 - EndTick, p.x1 + EndTick, c);
            addRow(strokes, p.y2, p.x1 - EndTick, p.x1 + EndTick, c);
            break;
        case Place::Shape::Point:
            addRow(strokes, p.y1, p.x1 - CrossArm, p.x1 + CrossArm, c);
            addColumn(strokes, p.x1, p.y1 - CrossArm, p.y1 + CrossArm, c);
            break;
        case Place::Shape::None:
            break;
    }
}

// The pixels a mark covers, as thin boxes a label should not lie on.
void addObstacles(const Place& p, std::vector<Box>& obstacles) {
    switch (p.shape) {
        case Place::Shape::Rectangle:
            obstacles.push_back({p.x1, p.y1, p.x2, p.y1});
            obstacles.push_back({p.x1, p.y2, p.x2, p.y2});
            obstacles.push_back({p.x1, p.y1, p.x1, p.y2});
            obstacles.push_back({p.x2, p.y1, p.x2, p.y2});
            break;
        case Place::Shape::Row:
        case Place::Shape::Column:
            obstacles.push_back({p.x1 - EndTick, p.y1 - EndTick, p.x2 + EndTick, p.y2 + EndTick});
            break;
        case Place::Shape::Point:
            obstacles.push_back({p.x1 - CrossArm, p.y1 - CrossArm, p.x1 + CrossArm, p.y1 + CrossArm});
            break;
        case Place::Shape::None:
            break;
    }
}

// Where a label of w x h may go beside its place, best first.
std::vector<Box> candidates(const Place& p, int w, int h) {
    std::vector<std::pair<int, int>> corners;
    switch (p.shape) {
        case Place::Shape::Rectangle:
            corners = {{p.x1, p.y1 - h - 1},         {p.x1 + 2, p.y1 + 2},         {p.x1, p.y2 + 2},
                       {p.x2 - w + 1, p.y1 - h - 1}, {p.x2 - w - 1, p.y2 - h - 1}, {p.x2 + 2, p.y1},
                       {p.x1 - w - 2, p.y1}};
            break;
        case Place::Shape::Row:
            corners = {{p.x1, p.y1 - h - 1},
                       {p.x1, p.y1 + 2},
                       {p.x2 - w + 1, p.y1 - h - 1},
                       {p.x2 - w + 1, p.y1 + 2}};
            break;
        case Place::Shape::Column:
            corners = {{p.x1 + 2, p.y1},         {p.x1 - w - 1, p.y1},
                       {p.x1 + 2, p.y2 - h + 1}, {p.x1 - w - 1, p.y2 - h + 1},
                       {p.x1 - w / 2, p.y2 + 2}, {p.x1 - w / 2, p.y1 - h - 1}};
            break;
        case Place::Shape::Point:
            corners = {{p.x1 + CrossArm + 2, p.y1 - h / 2},
                       {p.x1 - CrossArm - 2 - w, p.y1 - h / 2},
                       {p.x1 - w / 2, p.y1 - CrossArm - 2 - h},
                       {p.x1 - w / 2, p.y1 + CrossArm + 2}};
            break;
        case Place::Shape::None:
            break;
    }
    // Then the same corners moved up and down, a label's height at a time.
    std::vector<Box> boxes;
    for (int step = 0; step <= 8; ++step)
        for (const auto& [x, y] : corners)
            for (const int sign : {1, -1}) {
                if (step == 0 && sign < 0) continue;
                const int dy = sign * step * (h + 1);
                boxes.push_back({x, y + dy, x + w - 1, y + dy + h - 1});
            }
    return boxes;
}

Box clampedInto(Box box, int width, int height) {
    const int w = box.x2 - box.x1 + 1;
    const int h = box.y2 - box.y1 + 1;
    box.x1 = std::clamp(box.x1, 0, std::max(0, width - w));
    box.y1 = std::clamp(box.y1, 0, std::max(0, height - h));
    box.x2 = box.x1 + w - 1;
    box.y2 = box.y1 + h - 1;
    return box;
}

bool overlapsAny(const Box& box, const std::vector<Box>& others) {
    return std::any_of(others.begin(), others.end(), [&](const Box& o) { return box.overlaps(o); });
}

// The first place clear of marks and labels; else one clear of labels; else the best one.
Box placeLabel(const Place& p, int w, int h, int width, int height, const std::vector<Box>& marks,
               const std::vector<Box>& labels) {
    const std::vector<Box> options = candidates(p, w, h);
    for (const Box& option : options) {
        const Box box = clampedInto(option, width, height);
        if (!overlapsAny(box, labels) && !overlapsAny(box, marks)) return box;
    }
    for (const Box& option : options) {
        const Box box = clampedInto(option, width, height);
        if (!overlapsAny(box, labels)) return box;
    }
    return clampedInto(options.front(), width, height);
}

int rank(Judged judged) {
    switch (judged) {
        case Judged::NotJudged:
            return 0;
        case Judged::Passed:
            return 1;
        case Judged::Failed:
            return 2;
    }
    return 0;
}

// Failed measurements last, so that their marks lie on top and their labels get the first places.
std::vector<const Measurement*> drawingOrder(const std::vector<Measurement>& measurements) {
    std::vector<const Measurement*> order;
    for (const Measurement& m : measurements)
        if (m.place.shape != Place::Shape::None) order.push_back(&m);
    std::stable_sort(order.begin(), order.end(), [](const Measurement* a, const Measurement* b) {
        return rank(a->judged) < rank(b->judged);
    });
    return order;
}

void drawStroke(Bitmap& b, const OverlayStroke& s) {
    switch (s.shape) {
        case OverlayStroke::Shape::Row:
            drawRow(b, s.y1, s.x1, s.x2, s.colour);
            break;
        case OverlayStroke::Shape::Column:
            drawColumn(b, s.x1, s.y1, s.y2, s.colour);
            break;
        case OverlayStroke::Shape::Outline:
            drawRectangle(b, s.x1, s.y1, s.x2, s.y2, s.colour);
            break;
    }
}

void drawLabel(Bitmap& b, const OverlayLabel& label) {
    fillRectangle(b, label.x1, label.y1, label.x2, label.y2, LabelBackground);
    drawText(b, label.x1 + LabelPadX, label.y1 + LabelPadY, label.text, label.colour);
}

void drawMarksAndLabels(Bitmap& b, const std::vector<Measurement>& measurements, const OverlayStyle& style) {
    const OverlayLayout layout = layOutOverlay(measurements, b.width(), b.height(), style);
    for (const OverlayStroke& stroke : layout.strokes) drawStroke(b, stroke);
    for (const OverlayLabel& label : layout.labels) drawLabel(b, label);
}

// A piece of caption text in its colour.
struct Piece {
    std::string text;
    Colour colour;
};

// One line of the caption: pieces at one scale, wrapped to the width by whole pieces.
struct CaptionLine {
    std::vector<Piece> pieces;
    int scale = 1;
};

// Breaks a piece that is wider than the line into parts that fit.
std::vector<Piece> fitted(const Piece& piece, int width, int scale) {
    const int perLine = std::max(1, (width + scale) / (font::Advance * scale));
    const std::string text = asciiOnly(piece.text);
    std::vector<Piece> parts;
    for (size_t at = 0; at < text.size(); at += static_cast<size_t>(perLine))
        parts.push_back({text.substr(at, static_cast<size_t>(perLine)), piece.colour});
    return parts;
}

std::vector<CaptionLine> wrapped(const std::vector<CaptionLine>& lines, int width) {
    std::vector<CaptionLine> out;
    for (const CaptionLine& line : lines) {
        CaptionLine current{{}, line.scale};
        int used = 0;
        const int gap = 2 * font::Advance * line.scale;
        for (const Piece& whole : line.pieces)
            for (const Piece& piece : fitted(whole, width, line.scale)) {
                const int w = textWidth(piece.text, line.scale);
                if (!current.pieces.empty() && used + gap + w > width) {
                    out.push_back(current);
                    current.pieces.clear();
                    used = 0;
                }
                used += (current.pieces.empty() ? 0 : gap) + w;
                current.pieces.push_back(piece);
            }
        out.push_back(current);
    }
    return out;
}

std::vector<CaptionLine> captionLines(const Caption& caption, const std::vector<Measurement>& measurements) {
    const Colour verdict = caption.passed ? PassedColour : FailedColour;
    std::vector<CaptionLine> lines;
    lines.push_back({{{caption.headline, verdict}}, HeadlineScale});
    CaptionLine detail;
    if (!caption.detail.empty()) detail.pieces.push_back({caption.detail, verdict});
    detail.pieces.push_back({caption.file, CaptionText});
    lines.push_back(detail);
    CaptionLine placeless;
    for (const Measurement& m : measurements)
        if (m.place.shape == Place::Shape::None && !m.label.empty() && m.label != caption.detail)
            placeless.pieces.push_back({m.label, colourOf(m.judged)});
    if (!placeless.pieces.empty()) lines.push_back(placeless);
    lines.push_back({{{"green: passed", PassedColour},
                      {"red: failed", FailedColour},
                      {"yellow: looked at", LookedAtColour}},
                     1});
    return lines;
}

int lineHeight(int scale) {
    return textHeight(scale) + 3 * scale;
}

Bitmap withCaption(const Bitmap& picture, const Caption& caption,
                   const std::vector<Measurement>& measurements) {
    const int width = picture.width();
    const std::vector<CaptionLine> lines =
        wrapped(captionLines(caption, measurements), width - 2 * CaptionMargin);
    int height = 2 * CaptionMargin;
    for (const CaptionLine& line : lines) height += lineHeight(line.scale);
    Bitmap out = extended(picture, width, picture.height() + height, CaptionBackground);
    int y = picture.height() + CaptionMargin;
    for (const CaptionLine& line : lines) {
        int x = CaptionMargin;
        for (const Piece& piece : line.pieces) {
            drawText(out, x, y, piece.text, piece.colour, line.scale);
            x += textWidth(piece.text, line.scale) + 2 * font::Advance * line.scale;
        }
        y += lineHeight(line.scale);
    }
    return out;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Bitmap placeholder() {
    Bitmap b(PhotoWidth, PhotoHeight, PlaceholderGray);
    const std::string text = "no picture";
    drawText(b, (PhotoWidth - textWidth(text, 2)) / 2, PhotoHeight / 2 - textHeight(2), text, CaptionText, 2);
    return b;
}

// A JPEG that the file check turned down, read again for showing it.
std::optional<Bitmap> redecoded(const std::string& path) {
    try {
        JpegReader jpeg(path);
        if (static_cast<int64_t>(jpeg.width()) * jpeg.height() > LargestRedecodedPixels) return std::nullopt;
        return jpeg.decode();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

Colour colourOf(Judged judged) {
    switch (judged) {
        case Judged::Passed:
            return PassedColour;
        case Judged::Failed:
            return FailedColour;
        case Judged::NotJudged:
            return LookedAtColour;
    }
    return LookedAtColour;
}

OverlayLayout layOutOverlay(const std::vector<Measurement>& measurements, int width, int height,
                            const OverlayStyle& style) {
    const std::vector<const Measurement*> order = drawingOrder(measurements);
    OverlayLayout layout;
    std::vector<Box> marks;
    for (const Measurement* m : order) {
        const Place place = normalised(scaledDown(m->place, style.halfSize));
        addMark(layout.strokes, place, colourOf(m->judged));
        addObstacles(place, marks);
    }
    std::vector<Box> labels;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Measurement& m = **it;
        if (m.label.empty() || (!style.allLabels && m.judged != Judged::Failed)) continue;
        const int w = textWidth(m.label) + 2 * LabelPadX;
        const int h = textHeight() + 2 * LabelPadY;
        const Box box =
            placeLabel(normalised(scaledDown(m.place, style.halfSize)), w, h, width, height, marks, labels);
        labels.push_back(box);
        layout.labels.push_back({box.x1, box.y1, box.x2, box.y2, m.label, colourOf(m.judged)});
    }
    return layout;
}

Bitmap labelPicture(const OverlayLabel& label) {
    Bitmap b(label.x2 - label.x1 + 1, label.y2 - label.y1 + 1, LabelBackground);
    drawText(b, LabelPadX, LabelPadY, label.text, label.colour);
    return b;
}

Caption captionOf(const JudgedPhoto& photo) {
    Caption caption;
    caption.passed = photo.passed;
    caption.file = fileNameOf(photo.path);
    if (photo.passed) {
        caption.headline = "PASSED";
        return caption;
    }
    if (const Measurement* failed = decidingFailure(photo.measurements)) {
        caption.headline = std::string("FAILED: ") + measureName(failed->kind);
        caption.detail = failed->label;
    } else if (photo.unreadable) {
        caption.headline = "FAILED: file unreadable";
        caption.detail = *photo.unreadable;
    } else {
        caption.headline = "FAILED";
    }
    return caption;
}

Bitmap drawOverlay(const Bitmap& picture, const std::vector<Measurement>& measurements,
                   const Caption& caption, const OverlayStyle& style) {
    Bitmap b = style.halfSize ? halved(picture) : picture;
    drawMarksAndLabels(b, measurements, style);
    return style.withCaption ? withCaption(b, caption, measurements) : b;
}

std::shared_ptr<const Bitmap> pictureOf(const JudgedPhoto& photo) {
    if (photo.picture && !photo.picture->empty()) return photo.picture;
    std::optional<Bitmap> again = redecoded(photo.path);
    return std::make_shared<const Bitmap>(again ? std::move(*again) : placeholder());
}

Bitmap overlayOf(const JudgedPhoto& photo) {
    return drawOverlay(*pictureOf(photo), photo.measurements, captionOf(photo));
}

}  // namespace photocheck
