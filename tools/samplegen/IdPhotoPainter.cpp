#include "tools/samplegen/IdPhotoPainter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "tools/samplegen/Grain.h"

namespace photocheck::samplegen {
namespace {

// The design grid the person is laid out on, and the fixed points of the layout (head coordinates:
// x from the face's middle line, y in rows of an upright, unscaled head on the design grid).
constexpr double DesignWidth = 390;
constexpr double DesignHeight = 567;
constexpr double PersonX = 195;  // the face's middle line
constexpr double ChinY = 376;    // the head scales about the chin
constexpr double EyeY = 232;
constexpr double EyeX = 46;  // each iris centre lies this far from the middle line
constexpr double Pi = 3.14159265358979323846;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb rgbOf(Colour c) {
    return {double(redOf(c)), double(greenOf(c)), double(blueOf(c))};
}
Rgb scaled(Rgb c, double f) {
    return {c.r * f, c.g * f, c.b * f};
}
Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
double sq(double v) {
    return v * v;
}

bool insideEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    return sq((x - cx) / rx) + sq((y - cy) / ry) <= 1.0;
}

// Distance-like test for a rectangle with rounded corners centred on the origin.
bool insideRoundedRect(double x, double y, double halfW, double halfH, double radius) {
    const double qx = std::abs(x) - (halfW - radius);
    const double qy = std::abs(y) - (halfH - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) <= radius;
}

// Everything that is painted, as a colour for any point of the design grid.
class Scene {
  public:
    explicit Scene(const PhotoSpec& spec)
        : spec_(spec),
          cosTilt_(std::cos(spec.headTiltDegrees * Pi / 180)),
          sinTilt_(std::sin(spec.headTiltDegrees * Pi / 180)) {}

    Rgb colourAt(double x, double y) const {
        Rgb c = wall(x, y);
        const double bx = x - PersonX - spec_.shiftX;  // body coordinates: the body only moves
        const double by = y - spec_.shiftY;
        paintNeck(c, bx, by);
        paintBody(c, bx, by);
        double hx = 0, hy = 0;
        toHead(x, y, hx, hy);
        paintHead(c, hx, hy);
        return c;
    }

  private:
    const PhotoSpec& spec_;
    double cosTilt_, sinTilt_;

    Rgb skin() const { return rgbOf(spec_.skin); }

    // Head coordinates of a design point: undo the move, the scaling about the chin and the tilt about
    // the point between the eyes.
    void toHead(double x, double y, double& hx, double& hy) const {
        const double sx = (x - PersonX - spec_.shiftX) / spec_.headScale;
        const double sy = (y - ChinY - spec_.shiftY) / spec_.headScale + ChinY - EyeY;
        hx = cosTilt_ * sx + sinTilt_ * sy;
        hy = -sinTilt_ * sx + cosTilt_ * sy + EyeY;
    }

    Rgb wall(double x, double y) const {
        Rgb c = rgbOf(spec_.background);
        if (spec_.shadowWidth > 0 && x < spec_.shadowWidth)
            c = mix(rgbOf(spec_.shadow), c, std::max(x, 0.0) / spec_.shadowWidth);
        return scaled(c, 1.0 - 0.06 * y / DesignHeight);
    }

    // The shoulder line: where the clothes (or the bare shoulders) begin below the neck.
    static double shoulderTop(double bx) { return 432 + bx * bx / 700; }

    void paintNeck(Rgb& c, double bx, double by) const {
        const double halfWidth = 40 * spec_.headScale;
        if (std::abs(bx) <= halfWidth && by >= ChinY - 60 * spec_.headScale && by <= 480)
            c = scaled(skin(), by < ChinY + 14 ? 0.84 : 0.93);  // the chin's shadow, then lit skin
    }

    void paintBody(Rgb& c, double bx, double by) const {
        if (by < shoulderTop(bx)) return;
        if (spec_.bareShoulders) {
            paintStraplessTop(c, bx, by);
            return;
        }
        c = jacket(bx, by);
        const double opening = 0.42 * (by - 405);  // the V of the jacket, showing the shirt
        if (std::abs(bx) <= opening) {
            c = rgbOf(spec_.shirt);
            if (std::abs(bx) <= 0.62 * (470 - by)) c = scaled(skin(), 0.93);  // the open collar
            if (std::abs(std::abs(bx) - 0.62 * (470 - by)) < 1.2 && by < 470)
                c = scaled(rgbOf(spec_.shirt), 0.75);
        }
        if (std::abs(std::abs(bx) - opening) < 1.5) c = scaled(rgbOf(spec_.clothing), 0.6);  // lapel edge
    }

    Rgb jacket(double bx, double by) const {
        const double weave =
            0.06 * hashUnit(int64_t(std::floor(bx / 3)) * 7919 + int64_t(std::floor(by / 3)), spec_.seed);
        return scaled(rgbOf(spec_.clothing), 0.97 + weave);
    }

    // A strapless top over the chest; the arms, bare, reach the lower corners.
    void paintStraplessTop(Rgb& c, double bx, double by) const {
        c = skin();
        if (std::abs(std::abs(bx) - 150) < 1.5 && by > 470) c = scaled(skin(), 0.85);  // arm against the body
        if (std::abs(bx) < 148 && by >= 498 + bx * bx / 1500) c = jacket(bx, by);
    }

    void paintHead(Rgb& c, double hx, double hy) const {
        paintEars(c, hx, hy);
        paintHairMass(c, hx, hy);
        paintFace(c, hx, hy);
        for (const double side : {-1.0, 1.0}) {
            paintEyebrow(c, hx - side * EyeX, hy);
            paintEye(c, hx - side * EyeX, hy - EyeY);
        }
        paintNose(c, hx, hy);
        paintMouth(c, hx, hy - (EyeY + 86));
        if (spec_.glasses) paintGlasses(c, hx, hy);
    }

    void paintEars(Rgb& c, double hx, double hy) const {
        for (const double side : {-1.0, 1.0}) {
            if (insideEllipse(hx, hy, side * 90, 242, 11, 25)) {
                c = scaled(skin(), 0.92);
                if (insideEllipse(hx, hy, side * 91, 242, 5, 15)) c = scaled(skin(), 0.8);
            }
        }
    }

    // Short hair: a cap over the skull, ending above the ears.
    void paintHairMass(Rgb& c, double hx, double hy) const {
        const double side = std::max(std::abs(hx) - 70, 0.0);
        if (hy < 170 - 20 * sq(side / 40) && insideEllipse(hx, hy, 0, 212, 110, 150)) c = hairAt(hx, hy);
    }

    // Strands fan out from below the crown; each has its own brightness, with a sheen near the top.
    Rgb hairAt(double hx, double hy) const {
        const double angle = std::atan2(hx, 320 - hy) * 260;
        const auto strand = static_cast<int64_t>(std::floor(angle));
        const double t = angle - std::floor(angle);
        const double along = std::floor(hy / 9);
        const double a = hashUnit(strand * 131 + int64_t(along), spec_.seed);
        const double b = hashUnit((strand + 1) * 131 + int64_t(along), spec_.seed);
        const double brightness = 0.7 + 0.6 * (a + (b - a) * t);
        const double sheen = 1.0 + 0.35 * std::exp(-sq((hy - 96) / 14));
        return scaled(rgbOf(spec_.hair), brightness * sheen);
    }

    static bool insideFace(double hx, double hy) {
        const double hairline = 146 + 14 * sq(hx / 88);
        return hy > hairline && insideEllipse(hx, hy, 0, 250, 88, 126);
    }

    void paintFace(Rgb& c, double hx, double hy) const {
        if (!insideFace(hx, hy)) return;
        const double r2 = sq(hx / 88) + sq((hy - 250) / 126);
        c = scaled(skin(), 1.0 - 0.1 * r2 * r2 * r2);  // a little shade towards the edge
    }

    // One eyebrow, x measured from its eye's centre line.
    void paintEyebrow(Rgb& c, double u, double hy) const {
        if (std::abs(u) > 22) return;
        const double middle = EyeY - 25 - 4 * (1 - sq(u / 22));
        const double thickness = 5.5 - 2 * std::abs(u) / 22;
        if (std::abs(hy - middle) <= thickness / 2) c = mix(rgbOf(spec_.hair), skin(), 0.25);
    }

    // One eye, (u, v) measured from its iris centre. The upper lid's lash line covers the top of the
    // iris, so every iris column runs from the lash line down to the lower lid.
    void paintEye(Rgb& c, double u, double v) const {
        if (std::abs(u) > 19.5) return;
        const double lid = 7 * (1 - sq(u / 18));
        const bool open = std::abs(u) <= 18 && std::abs(v) <= lid;
        if (v < 0 && v >= -lid - 2.5 && !open) c = Rgb{30, 22, 22};                             // lash line
        if (v > 0 && v > lid && v <= lid + 1.5 && std::abs(u) <= 18) c = scaled(skin(), 0.85);  // lower lid
        if (!open) return;
        c = Rgb{238, 236, 232};
        if (std::abs(u) <= 10) c = scaled(rgbOf(spec_.iris), std::hypot(u, v) > 8.5 ? 0.8 : 1.0);
        if (u * u + v * v <= 4.6 * 4.6) c = Rgb{14, 11, 11};
        if (!spec_.catchLights) return;
        const bool upper = v >= -4.5 && v <= -1.5;
        if (upper && ((u >= -6.5 && u <= -3.5) || (u >= 3.5 && u <= 6.5))) c = Rgb{250, 250, 250};
    }

    void paintNose(Rgb& c, double hx, double hy) const {
        const double top = EyeY + 14, tip = EyeY + 48;
        if (hy >= top && hy <= tip && std::abs(std::abs(hx) - 11) < 1.5) c = scaled(skin(), 0.9);
        for (const double side : {-1.0, 1.0})
            if (insideEllipse(hx, hy, side * 9, EyeY + 51, 4.5, 2.5)) c = scaled(skin(), 0.55);
        if (std::abs(hx) < 6 && std::abs(hy - (EyeY + 54)) < 1) c = scaled(skin(), 0.8);
    }

    static void paintMouth(Rgb& c, double u, double v) {
        if (insideEllipse(u, v, 0, 0, 25, v < 0 ? 5 : 7)) c = v < 0 ? Rgb{190, 100, 98} : Rgb{205, 115, 110};
        if (std::abs(u) < 24 && std::abs(v) < 1) c = Rgb{110, 48, 48};
    }

    // Heavy frames: each rim is taller than any eye, the bridge and the temples join them.
    static void paintGlasses(Rgb& c, double hx, double hy) {
        const Rgb frame{22, 20, 24};
        for (const double side : {-1.0, 1.0}) {
            const double u = hx - side * EyeX, v = hy - (EyeY + 3);
            if (insideRoundedRect(u, v, 27, 21, 8)) {
                c = insideRoundedRect(u, v, 23.5, 17.5, 5) ? mix(c, Rgb{150, 170, 190}, 0.12) : frame;
            }
        }
        if (std::abs(hx) <= 20 && std::abs(hy - (EyeY - 6)) <= 1.75) c = frame;
        if (std::abs(hx) >= 72 && std::abs(hx) <= 92 && std::abs(hy - (EyeY - 4)) <= 1.5) c = frame;
    }
};

// The picture as floating-point channels while it is painted, blurred and grained.
struct Canvas {
    int width, height;
    std::vector<Rgb> pixels;
    Rgb& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Canvas paintScene(const PhotoSpec& spec) {
    const Scene scene(spec);
    Canvas canvas{spec.width, spec.height, std::vector<Rgb>(size_t(spec.width) * size_t(spec.height))};
    const double sx = DesignWidth / spec.width, sy = DesignHeight / spec.height;
    const double offsets[2] = {-0.25, 0.25};  // four samples per pixel smooth the edges
    for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
            Rgb sum;
            for (const double oy : offsets) {
                for (const double ox : offsets) {
                    const Rgb c = scene.colourAt((x + 0.5 + ox) * sx - 0.5, (y + 0.5 + oy) * sy - 0.5);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            }
            canvas.at(x, y) = scaled(sum, 0.25);
        }
    }
    return canvas;
}

std::vector<double> gaussianKernel(double sigma) {
    const int radius = int(std::ceil(3 * sigma));
    std::vector<double> k(size_t(2 * radius + 1));
    double total = 0;
    for (int i = -radius; i <= radius; ++i) total += k[size_t(i + radius)] = std::exp(-0.5 * sq(i / sigma));
    for (double& w : k) w /= total;
    return k;
}

// Separable Gaussian blur; the picture's edge pixels stand in for the pixels beyond it.
void blur(Canvas& canvas, double sigma) {
    const std::vector<double> k = gaussianKernel(sigma);
    const int radius = int(k.size() / 2);
    const auto pass = [&](bool horizontal) {
        Canvas out = canvas;
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                Rgb sum;
                for (int i = -radius; i <= radius; ++i) {
                    const int sx = horizontal ? std::clamp(x + i, 0, canvas.width - 1) : x;
                    const int sy = horizontal ? y : std::clamp(y + i, 0, canvas.height - 1);
                    const Rgb c = scaled(canvas.at(sx, sy), k[size_t(i + radius)]);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
                out.at(x, y) = sum;
            }
        }
        canvas = std::move(out);
    };
    pass(true);
    pass(false);
}

// Luminance grain: the same offset on all three channels keeps each pixel's hue.
void addGrain(Canvas& canvas, double amplitude, uint64_t seed) {
    Grain grain(seed);
    for (Rgb& p : canvas.pixels) {
        const double d = amplitude * grain.normal();
        p = {p.r + d, p.g + d, p.b + d};
    }
}

int toByte(double v) {
    return int(std::lround(std::clamp(v, 0.0, 255.0)));
}

}  // namespace

Bitmap paintIdPhoto(const PhotoSpec& spec) {
    if (spec.width <= 0 || spec.height <= 0) throw std::invalid_argument("photo size must be positive");
    if (spec.headScale <= 0) throw std::invalid_argument("head scale must be positive");
    Canvas canvas = paintScene(spec);
    if (spec.blurSigma > 0) blur(canvas, spec.blurSigma);
    if (spec.grain > 0) addGrain(canvas, spec.grain, spec.seed);
    Bitmap photo(spec.width, spec.height);
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            const Rgb& p = canvas.at(x, y);
            photo.setPixel(x, y, makeColour(toByte(p.r), toByte(p.g), toByte(p.b)));
        }
    return photo;
}

}  // namespace photocheck::samplegen
