#include "ui/AvailabilityIconModel.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace quelmo::ui {
namespace {

struct Point {
    double x;
    double y;
};

struct Segment {
    Point from;
    Point to;
};

struct Shape {
    std::span<const Segment> strokes;
    double halfWidth; // in design pixels
    std::uint32_t rgb;
};

// Strokes on the 16 x 16 design grid, with round ends.
constexpr Segment kCross[] = {{{4.5, 4.5}, {11.5, 11.5}}, {{11.5, 4.5}, {4.5, 11.5}}};
constexpr Segment kCheck[] = {{{3.5, 8.5}, {6.5, 11.5}}, {{6.5, 11.5}, {12.5, 4.0}}};

constexpr std::uint32_t kGrey = 0x8C8C8C;
constexpr std::uint32_t kGreen = 0x1E9632;

// Samples per pixel along each axis.
constexpr int kSupersample = 4;

Shape ShapeOf(Availability kind) {
    if (kind == Availability::Present) {
        return {kCheck, 1.35, kGreen};
    }
    return {kCross, 1.1, kGrey};
}

double DistanceToSegment(Point p, const Segment& s) {
    const double dx = s.to.x - s.from.x;
    const double dy = s.to.y - s.from.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 == 0 ? 0.0 : std::clamp(((p.x - s.from.x) * dx + (p.y - s.from.y) * dy) / length2, 0.0, 1.0);
    return std::hypot(p.x - (s.from.x + t * dx), p.y - (s.from.y + t * dy));
}

bool Covered(const Shape& shape, Point p) {
    return std::any_of(shape.strokes.begin(), shape.strokes.end(),
                       [&](const Segment& s) { return DistanceToSegment(p, s) <= shape.halfWidth; });
}

} // namespace

IconPixels DrawAvailabilityIcon(Availability kind, int size) {
    const Shape shape = ShapeOf(kind);
    IconPixels icon;
    icon.size = std::max(size, 1);
    icon.argb.resize(static_cast<std::size_t>(icon.size) * static_cast<std::size_t>(icon.size));
    // Design units per sample.
    const double step = static_cast<double>(kAvailabilityIconDesignSize) / (icon.size * kSupersample);
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSupersample; ++sy) {
                for (int sx = 0; sx < kSupersample; ++sx) {
                    const Point p{((x * kSupersample) + sx + 0.5) * step,
                                  ((y * kSupersample) + sy + 0.5) * step};
                    hits += Covered(shape, p) ? 1 : 0;
                }
            }
            const auto alpha = static_cast<std::uint32_t>((hits * 255 + kSupersample * kSupersample / 2) /
                                                          (kSupersample * kSupersample));
            icon.argb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(icon.size)) +
                      static_cast<std::size_t>(x)] = alpha == 0 ? 0 : (alpha << 24) | shape.rgb;
        }
    }
    return icon;
}

} // namespace quelmo::ui
