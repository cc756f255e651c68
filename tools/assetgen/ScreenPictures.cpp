// Full-screen pictures (1280 x 720, drawn unscaled at the top-left) and the small
// version label of the title screen.
#include "AssetGroups.h"

#include "Font.h"
#include "Image.h"
#include "Random.h"
#include "TextPainter.h"
#include "ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

constexpr int kWidth = 1280, kHeight = 720;
const char* const kBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kRegularFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

Color verticalGradient(const Color* stops, int count, float t) {
    t = clamp01(t) * (count - 1);
    int i = std::min(count - 2, static_cast<int>(t));
    return mix(stops[i], stops[i + 1], t - i);
}

void stars(Image& image, uint32_t seed, int count, float maxY) {
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        float x = random.range(0, kWidth), y = random.range(0, maxY), r = random.range(0.4f, 1.6f);
        float brightness = random.range(0.3f, 1.0f) * (1 - y / maxY * 0.6f);
        image.fillCircle(x, y, r, Color{0.9f, 0.93f, 1.0f, brightness});
    }
}

// An orb web around a hub: radial threads and a spiral that sags between them.
void web(Image& image, float hubX, float hubY, float radius, int spokes, float torn, uint32_t seed, const Color& thread) {
    Random random(seed);
    std::vector<float> angles;
    for (int s = 0; s < spokes; ++s) angles.push_back((s + random.range(-0.25f, 0.25f)) * 2 * 3.14159265f / spokes);
    for (float a : angles) {
        float reach = radius * random.range(0.85f, 1.1f);
        image.drawLine(hubX, hubY, hubX + std::cos(a) * reach, hubY + std::sin(a) * reach, 1.3f, thread);
    }
    for (float ring = radius * 0.12f; ring < radius * 0.95f; ring += radius * 0.075f)
        for (int s = 0; s < spokes; ++s) {
            if (random.unit() < torn) continue;
            float a0 = angles[size_t(s)], a1 = angles[size_t((s + 1) % spokes)] + (s + 1 == spokes ? 2 * 3.14159265f : 0);
            float r0 = ring + s * radius * 0.075f / spokes, r1 = r0 + radius * 0.075f / spokes;
            float mid = (a0 + a1) / 2, sag = (r0 + r1) / 2 * 0.93f;
            float x0 = hubX + std::cos(a0) * r0, y0 = hubY + std::sin(a0) * r0;
            float xm = hubX + std::cos(mid) * sag, ym = hubY + std::sin(mid) * sag;
            float x1 = hubX + std::cos(a1) * r1, y1 = hubY + std::sin(a1) * r1;
            image.drawLine(x0, y0, xm, ym, 1.0f, thread);
            image.drawLine(xm, ym, x1, y1, 1.0f, thread);
        }
}

// Blocky towers along the bottom edge, with a few lit windows.
void skyline(Image& image, uint32_t seed, float baseY, const Color& body, const Color& window) {
    Random random(seed);
    float x = -20;
    while (x < kWidth) {
        float w = random.range(50, 140), h = random.range(40, 190);
        image.fillRect(x, baseY - h, x + w, kHeight, body);
        for (float wy = baseY - h + 14; wy < baseY - 10; wy += 22)
            for (float wx = x + 10; wx < x + w - 14; wx += 20)
                if (random.unit() < 0.18f) image.fillRect(wx, wy, wx + 6, wy + 9, window);
        x += w + random.range(-10, 25);
    }
}

// A small spider machine hanging from its thread.
void hangingSpider(Image& image, float x, float y, const Color& color) {
    image.drawLine(x, 0, x, y - 18, 1.5f, Color{0.85f, 0.9f, 1.0f, 0.8f});
    image.fillCircle(x, y, 16, color);
    image.fillCircle(x, y + 22, 11, color);
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 4; ++k) {
            float hipY = y - 6 + k * 6, kneeX = x + side * (30 + k * 3), kneeY = hipY - 18 + k * 10;
            image.drawLine(x + side * 8, hipY, kneeX, kneeY, 3, color);
            image.drawLine(kneeX, kneeY, kneeX + side * 10, kneeY + 26, 2.5f, color);
        }
    image.fillCircle(x - 5, y + 26, 2.5f, rgb(0xff3020));
    image.fillCircle(x + 5, y + 26, 2.5f, rgb(0xff3020));
}

TextStyle titleStyle(const Color& top, const Color& bottom, const Color& glow) {
    TextStyle style;
    style.top = top;
    style.bottom = bottom;
    style.outline = rgb(0x120a1a);
    style.outlineWidth = 6;
    style.shadow = Color{0, 0, 0, 0.65f};
    style.shadowOffset = 8;
    style.shadowBlur = 5;
    style.glow = glow;
    style.glowBlur = 16;
    return style;
}

TextStyle captionStyle(const Color& color) {
    TextStyle style;
    style.top = color;
    style.bottom = color;
    style.outline = Color{0.04f, 0.04f, 0.1f, 0.9f};
    style.outlineWidth = 2.5f;
    style.shadow = Color{0, 0, 0, 0.5f};
    style.shadowOffset = 3;
    style.shadowBlur = 2;
    style.spacing = 8;
    return style;
}

void writeTitle(const std::string& path, const Font& bold, const Font& regular) {
    Image image(kWidth, kHeight);
    const Color sky[4] = {rgb(0x050816), rgb(0x141a44), rgb(0x3a2260), rgb(0x8a3a58)};
    image.shade([&](float, float y) { return verticalGradient(sky, 4, y / kHeight); });
    stars(image, 21, 320, 520);
    // Moon with a halo, caught in a web.
    image.overlay([&](float x, float y) {
        float d = std::hypot(x - 1010, y - 170);
        return Color{1.0f, 0.85f, 0.7f, 0.35f * std::exp(-std::max(0.0f, d - 80) / 60)};
    });
    image.fillCircle(1010, 170, 82, rgb(0xf4ecd8));
    image.fillCircle(985, 150, 18, rgb(0xe0d6c0));
    image.fillCircle(1040, 200, 12, rgb(0xe2d8c4));
    web(image, 1040, 150, 330, 14, 0.04f, 22, Color{0.85f, 0.9f, 1.0f, 0.3f});
    skyline(image, 23, 720, rgb(0x0c0a18), rgb(0xffc060, 0.85f));
    hangingSpider(image, 120, 190, rgb(0x0c0a18));

    TextPainter::draw(image, bold, "Velmora", 200, 640, 370,
                      titleStyle(rgb(0xfff6d8), rgb(0xf09830), Color{1.0f, 0.55f, 0.2f, 0.55f}));
    TextPainter::draw(image, regular, "THREAD  .  CLIMB  .  CATCH", 30, 640, 430, captionStyle(rgb(0xc8d4ff)));
    image.savePng(path);
}

void writeStartText(const std::string& path, const Font& bold) {
    // Transparent except for the prompt: it is drawn over the title and blinks.
    Image image(kWidth, kHeight);
    TextStyle style;
    style.top = rgb(0xffffff);
    style.bottom = rgb(0xa8ecff);
    style.outline = rgb(0x0a1830);
    style.outlineWidth = 4;
    style.glow = Color{0.3f, 0.8f, 1.0f, 0.6f};
    style.glowBlur = 10;
    style.spacing = 6;
    TextPainter::draw(image, bold, "CLICK TO START", 56, 640, 600, style);
    image.savePng(path);
}

void writeVersion(const std::string& path, const Font& regular) {
    // Drawn at half size in the top-left corner: 320 x 64 shows as 160 x 32.
    Image image(320, 64);
    image.overlay([](float x, float y) {
        float dx = std::max(0.0f, std::fabs(x - 160) - 130), dy = std::max(0.0f, std::fabs(y - 32) - 8);
        float d = std::hypot(dx, dy) - 16;
        return Color{0.02f, 0.03f, 0.08f, 0.55f * clamp01(0.5f - d)};
    });
    TextPainter::draw(image, regular, "ver 1.0", 40, 160, 46, captionStyle(rgb(0xe8eeff)));
    image.savePng(path);
}

void writeStageClear(const std::string& path, const Font& bold, const Font& regular) {
    Image image(kWidth, kHeight);
    const Color sky[4] = {rgb(0x14204e), rgb(0x3c3c8a), rgb(0xd07a68), rgb(0xffd08a)};
    image.shade([&](float, float y) { return verticalGradient(sky, 4, y / kHeight); });
    // Sunburst behind the words.
    image.overlay([](float x, float y) {
        float a = std::atan2(y - 330, x - 640), d = std::hypot(x - 640, y - 330);
        float ray = std::pow(0.5f + 0.5f * std::cos(a * 16), 6.0f);
        return Color{1.0f, 0.95f, 0.75f, 0.22f * ray * std::exp(-d / 600) + 0.3f * std::exp(-d / 160)};
    });
    stars(image, 31, 120, 260);
    Random random(32);
    for (int i = 0; i < 40; ++i) {
        float x = random.range(100, 1180), y = random.range(120, 600), r = random.range(1.5f, 4.0f);
        image.fillCircle(x, y, r * 3, Color{1.0f, 0.9f, 0.6f, 0.12f});
        image.fillCircle(x, y, r, Color{1.0f, 0.98f, 0.85f, 0.9f});
    }
    skyline(image, 33, 720, rgb(0x24142a), rgb(0xffe0a0, 0.9f));
    TextPainter::draw(image, bold, "STAGE CLEAR", 130, 640, 370,
                      titleStyle(rgb(0xffffff), rgb(0xffc040), Color{1.0f, 0.8f, 0.3f, 0.6f}));
    TextPainter::draw(image, regular, "THE DEN IS SILENT", 32, 640, 440, captionStyle(rgb(0xfff0d0)));
    TextPainter::draw(image, regular, "click to return", 24, 640, 505, captionStyle(rgb(0xfff6e8)));
    image.savePng(path);
}

void writeGameOver(const std::string& path, const Font& bold, const Font& regular) {
    Image image(kWidth, kHeight);
    ValueNoise haze(41);
    image.shade([&](float x, float y) {
        float d = std::hypot((x - 640) / 700, (y - 360) / 460);
        float h = haze.fractal(x / 160, y / 160, 64, 4);
        Color c = mix(rgb(0x3a0a12), rgb(0x060205), clamp01(d));
        return mix(c, rgb(0x5a1420), h * 0.25f * (1 - clamp01(d)));
    });
    web(image, 120, 90, 360, 11, 0.45f, 42, Color{0.8f, 0.7f, 0.75f, 0.22f});
    web(image, 1180, 640, 300, 9, 0.55f, 43, Color{0.8f, 0.7f, 0.75f, 0.18f});
    TextPainter::draw(image, bold, "GAME OVER", 140, 640, 380,
                      titleStyle(rgb(0xffd0c8), rgb(0xc01818), Color{0.9f, 0.1f, 0.05f, 0.5f}));
    TextPainter::draw(image, regular, "THE THREAD HAS SNAPPED", 30, 640, 450, captionStyle(rgb(0xe0b8b8)));
    TextPainter::draw(image, regular, "click to return", 24, 640, 560, captionStyle(rgb(0xd8c8c8)));
    image.savePng(path);
}

void writeFade(const std::string& path) {
    // Only ever drawn tinted black: any opaque picture the size of the screen.
    Image image(kWidth, kHeight);
    image.shade([](float, float y) { return mix(rgb(0x101018), rgb(0x000000), y / kHeight); });
    image.savePng(path);
}

}  // namespace

void writeScreenPictures(const std::string& dataDir) {
    const std::string dir = dataDir + "/Texture/";
    std::filesystem::create_directories(dir);
    const Font bold(kBoldFont), regular(kRegularFont);
    writeTitle(dir + "Title.png", bold, regular);
    writeStartText(dir + "StartText.png", bold);
    writeVersion(dir + "Ver.png", regular);
    writeStageClear(dir + "StageClearBack.png", bold, regular);
    writeGameOver(dir + "GameOverback.png", bold, regular);
    writeFade(dir + "back.png");
}

}  // namespace assetgen
