// On-screen gauges, the lock-on reticle and the thread's texture.
//
// Gauges are loaded into 1280 x 256 textures without scaling. The player's bars read
// rows 12..40 and are tinted (life green, damage red); the boss's bars read rows 10..40
// of damagegauge2.png untinted. Frames read the top-left 400 x 40; the bars show
// through them at frame rows 10..37 (player) and 8..37 (boss).
#include "AssetGroups.h"

#include "Image.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// A bar filling rows top..39 of a 400 x 48 picture, shaded like a glass tube.
Image bar(int top, const Color& light, const Color& dark, int segment) {
    Image image(400, 48);
    for (int y = top; y < 40; ++y)
        for (int x = 0; x < 400; ++x) {
            float t = float(y - top) / (39 - top);
            Color c = mix(light, dark, t);
            if (t < 0.25f) c = mix(c, rgb(0xffffff), (0.25f - t) * 2.2f);  // highlight along the top
            float sheen = 0.5f + 0.5f * std::sin((x - y * 0.6f) * 0.09f);
            c = mix(c, rgb(0xffffff), sheen * 0.08f);
            if (segment > 0 && x % segment == segment - 1) c = mix(c, dark, 0.5f);
            image.at(x, y) = Color{c.r, c.g, c.b, 1};
        }
    return image;
}

// A frame of 400 x 40 whose opening starts at row `openTop`; ticks mark each life.
Image frame(int openTop, int segment, const Color& metal, const Color& accent) {
    Image image(400, 40);
    const float left = 1, right = 399, top = openTop - 3.0f, bottom = 39;
    image.overlay([&](float x, float y) {
        float dx = std::max({left - x, x - right, 0.0f}), dy = std::max({top - y, y - bottom, 0.0f});
        float outside = std::hypot(dx, dy);
        float inside = std::min({x - left, right - x, y - top, bottom - y});
        float ring = outside > 0 ? -outside : inside;  // distance into the border
        float coverage = clamp01(ring + 0.5f) * clamp01(3.5f - ring);
        Color c = mix(metal, rgb(0xffffff), clamp01((bottom - y) / (bottom - top)) * 0.3f);
        return Color{c.r, c.g, c.b, coverage};
    });
    for (int x = segment; x < 400; x += segment) {
        image.fillRect(x - 1.0f, top + 3, x + 1.0f, top + 7, accent);
        image.fillRect(x - 1.0f, bottom - 4, x + 1.0f, bottom, accent);
    }
    // A tab above the left end, to tell the gauges apart at a glance.
    image.fillRect(6, 0, 90, top, accent);
    image.fillRect(8, 1, 88, top - 1, Color{metal.r, metal.g, metal.b, 0.9f});
    return image;
}

void writeMarker(const std::string& path) {
    // Centred on (128, 128): the game draws it about that point, spinning.
    Image image(256, 256);
    const Color hot = rgb(0xff5a28), core = rgb(0xfff0c0);
    image.overlay([&](float x, float y) {
        float d = std::hypot(x - 128, y - 128);
        return Color{hot.r, hot.g, hot.b, 0.35f * std::exp(-std::pow((d - 96) / 10, 2.0f))};
    });
    image.drawRing(128, 128, 96, 5, hot);
    image.drawRing(128, 128, 96, 1.5f, core);
    for (int k = 0; k < 12; ++k) {
        if (k % 3 == 0) continue;  // gaps where the pointers sit
        float a0 = (k * 30 + 4) * 3.14159265f / 180, a1 = (k * 30 + 26) * 3.14159265f / 180;
        for (float a = a0; a < a1; a += 0.02f)
            image.fillCircle(128 + std::cos(a) * 62, 128 + std::sin(a) * 62, 1.6f, hot);
    }
    for (int k = 0; k < 4; ++k) {
        float a = k * 3.14159265f / 2, c = std::cos(a), s = std::sin(a);
        for (float r = 66; r < 112; r += 1)
            image.fillCircle(128 + c * r, 128 + s * r, 1 + (112 - r) * 0.09f, hot);
        image.drawLine(128 + c * 70, 128 + s * 70, 128 + c * 108, 128 + s * 108, 1.2f, core);
    }
    image.fillCircle(128, 128, 6, hot);
    image.fillCircle(128, 128, 3, core);
    image.savePng(path);
}

void writeThread(const std::string& path) {
    // u across the thread: bright core, silver edges; v along it: faint beads of glue.
    Image image(32, 128);
    image.shade([](float x, float y) {
        float across = 1 - std::fabs(x / 16 - 1);
        Color c = mix(rgb(0x687890), rgb(0xffffff), std::pow(across, 0.6f));
        float bead = std::exp(-std::pow(std::fmod(y, 32.0f) - 16, 2.0f) / 18) * across;
        return mix(c, rgb(0xe0f4ff), bead * 0.6f);
    });
    image.saveBmp(path);
}

}  // namespace

void writeHudPictures(const std::string& dataDir) {
    const std::string dir = dataDir + "/Texture/";
    std::filesystem::create_directories(dir);
    // The life bar is tinted green by the game: keep it light and nearly white.
    bar(12, rgb(0xffffff), rgb(0xa8b0b4), 40).savePng(dir + "gauge2.png");
    // Untinted for the boss, tinted red for the player's damage: a bright crimson.
    bar(10, rgb(0xff7a50), rgb(0xb01028), 0).savePng(dir + "damagegauge2.png");
    frame(10, 40, rgb(0xd8e2f0), rgb(0x60ff90)).savePng(dir + "gaugeframe.png");
    frame(8, 50, rgb(0xe8d8e0), rgb(0xff4040)).savePng(dir + "Bossgaugeframe.png");
    writeMarker(dir + "Marker.png");
    writeThread(dir + "SpiderLine.bmp");
}

}  // namespace assetgen
