#include "SpiderIcon.h"

#include <algorithm>
#include <cmath>

namespace icon {

namespace {

Colour mix(Colour a, Colour b, float t) {
    t = std::min(1.0f, std::max(0.0f, t));
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

const Colour kNightTop{0.05f, 0.07f, 0.20f, 1.0f};
const Colour kNightBottom{0.55f, 0.24f, 0.42f, 1.0f};
const Colour kMoon{0.97f, 0.94f, 0.84f, 1.0f};
const Colour kSilk{0.85f, 0.88f, 0.95f, 1.0f};
const Colour kSteel{0.62f, 0.67f, 0.76f, 1.0f};
const Colour kOutline{0.04f, 0.04f, 0.08f, 1.0f};
const Colour kGold{0.96f, 0.72f, 0.26f, 1.0f};

// A leg: hip on the body, a knee raised outwards, a foot planted below.
struct Leg {
    Point hip, knee, foot;
};

}  // namespace

void paintSpiderIcon(Canvas& canvas) {
    const float s = static_cast<float>(std::min(canvas.width(), canvas.height()));
    auto at = [s](float x, float y) { return Point{x * s, y * s}; };

    // Sky: a rounded tile with the title's dusk gradient. The web and the thread stay on it.
    const Canvas::Distance tile = Canvas::roundedBox(at(0.5f, 0.5f), 0.48f * s, 0.48f * s, 0.16f * s);
    canvas.fill(tile,
                [s](Point p) { return mix(kNightTop, kNightBottom, p.y / s); });

    // The moon with its glow, and a web spun across it.
    const Point moon = at(0.73f, 0.27f);
    canvas.fill(Canvas::circle(moon, 0.21f * s), [moon, s](Point p) {
        const float d = std::hypot(p.x - moon.x, p.y - moon.y) / (0.21f * s);
        return Colour{kMoon.r, kMoon.g, kMoon.b, 0.35f * (1.0f - d) * (1.0f - d)};
    });
    canvas.fill(Canvas::circle(moon, 0.12f * s), kMoon);
    canvas.fill(Canvas::circle(at(0.69f, 0.23f), 0.025f * s), Colour{0.85f, 0.80f, 0.68f, 0.8f});
    canvas.fill(Canvas::circle(at(0.77f, 0.31f), 0.018f * s), Colour{0.85f, 0.80f, 0.68f, 0.8f});
    const Colour web{kSilk.r, kSilk.g, kSilk.b, 0.35f};
    for (int spoke = 0; spoke < 7; ++spoke) {
        const float angle = 1.6f + spoke * 0.42f;
        const Point end{moon.x + std::cos(angle) * 0.5f * s, moon.y + std::sin(angle) * 0.5f * s};
        canvas.fill(Canvas::within(Canvas::segment(moon, end, 0.006f * s), tile), web);
    }
    for (int turn = 1; turn <= 3; ++turn) {
        canvas.fill(Canvas::within(Canvas::ring(moon, turn * 0.1f * s, 0.005f * s), tile), web);
    }

    // The thread it hangs from.
    const Point body = at(0.46f, 0.60f);
    const float radius = 0.17f * s;
    canvas.fill(Canvas::within(Canvas::segment(at(0.46f, 0.0f), body, 0.014f * s), tile), kSilk);

    // Eight legs, four a side, drawn as a dark stroke under a steel one.
    const Leg right[4] = {
        {at(0.52f, 0.53f), at(0.70f, 0.42f), at(0.84f, 0.58f)},
        {at(0.55f, 0.58f), at(0.76f, 0.52f), at(0.88f, 0.72f)},
        {at(0.55f, 0.64f), at(0.74f, 0.64f), at(0.84f, 0.86f)},
        {at(0.52f, 0.69f), at(0.66f, 0.74f), at(0.72f, 0.94f)},
    };
    for (const Leg& leg : right) {
        const Leg mirrored{{2 * body.x - leg.hip.x, leg.hip.y},
                           {2 * body.x - leg.knee.x, leg.knee.y},
                           {2 * body.x - leg.foot.x, leg.foot.y}};
        for (const Leg& l : {leg, mirrored}) {
            canvas.fill(Canvas::segment(l.hip, l.knee, 0.05f * s), kOutline);
            canvas.fill(Canvas::segment(l.knee, l.foot, 0.04f * s), kOutline);
            canvas.fill(Canvas::segment(l.hip, l.knee, 0.028f * s), kSteel);
            canvas.fill(Canvas::segment(l.knee, l.foot, 0.02f * s), kSteel);
            canvas.fill(Canvas::circle(l.knee, 0.022f * s), kGold);
        }
    }

    // The body: a steel sphere lit from the upper left, with a gold ring and bolt.
    canvas.fill(Canvas::circle(body, radius + 0.012f * s), kOutline);
    canvas.fill(Canvas::circle(body, radius), [body, radius](Point p) {
        const float nx = (p.x - body.x) / radius, ny = (p.y - body.y) / radius;
        const float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
        const float diffuse = std::max(0.0f, -0.5f * nx - 0.6f * ny + 0.62f * nz);
        const float highlight = std::pow(std::max(0.0f, -0.35f * nx - 0.45f * ny + 0.82f * nz), 24.0f);
        const Colour shaded = mix(Colour{0.10f, 0.12f, 0.18f, 1.0f}, kSteel, 0.25f + 0.9f * diffuse);
        return mix(shaded, Colour{1, 1, 1, 1}, highlight);
    });
    canvas.fill(Canvas::ring(body, radius * 0.62f, 0.035f * s), kGold);
    canvas.fill(Canvas::circle(body, 0.045f * s), kGold);
    canvas.fill(Canvas::circle(Point{body.x - 0.012f * s, body.y - 0.012f * s}, 0.015f * s),
                Colour{1.0f, 0.93f, 0.7f, 1.0f});
}

}  // namespace icon
