// Textures of the meshes, each beside the meshes that name it. All are powers of two
// (the game loads mesh textures rounded up to them) and tile seamlessly.
#include "AssetGroups.h"

#include "Image.h"
#include "Random.h"
#include "TextureNames.h"
#include "ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
Color scale(const Color& c, float f) { return {c.r * f, c.g * f, c.b * f, c.a}; }

// Distance from x to the nearest multiple of period.
float toGrid(float x, float period) {
    float m = std::fmod(x, period);
    return std::min(m, period - m);
}

uint32_t cellHash(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ seed * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

float cellValue(int x, int y, uint32_t seed) { return (cellHash(x, y, seed) & 0xFFFF) / 65535.0f; }

void writeFloor(const std::string& path) {
    // Stone flags, two by two per repeat (4 world units each), with worn grout.
    const int size = 256, tile = 128;
    ValueNoise grain(1), stain(2);
    Image image(size, size);
    image.shade([&](float x, float y) {
        int tx = int(x) / tile, ty = int(y) / tile;
        float shade = 0.85f + 0.15f * cellValue(tx, ty, 7);
        float g = grain.fractal(x / 16, y / 16, size / 16, 4);
        float s = stain.fractal(x / 64, y / 64, size / 64, 3);
        Color stone = mix(rgb(0x8a8378), rgb(0xb5aa98), g);
        stone = scale(stone, shade * (0.8f + 0.3f * s));
        float groutDistance = std::min(toGrid(x, tile), toGrid(y, tile));
        float grout = clamp01(1.5f - groutDistance / 1.5f);
        Color c = mix(stone, rgb(0x3a3632), grout);
        float bevel = clamp01(1 - std::fabs(groutDistance - 3) / 2) * 0.12f;
        return scale(c, 1 + bevel);
    });
    image.savePng(path);
}

void writeWall(const std::string& path) {
    // Concrete panels with seams, bolts and streaks running down.
    const int size = 256;
    ValueNoise grain(3), streak(4);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = grain.fractal(x / 8, y / 8, size / 8, 4);
        float s = streak.fractal(x / 4, y / 96, size / 4, 2);
        Color c = mix(rgb(0x9ba2ae), rgb(0xc2c9d6), g);
        c = scale(c, 0.85f + 0.25f * s);
        int px = int(x) / 128, py = int(y) / 64;
        c = scale(c, 0.92f + 0.12f * cellValue(px, py, 11));
        float seamX = toGrid(x, 128), seamY = toGrid(y, 64);
        float seam = std::min(seamX, seamY);
        c = scale(c, 0.55f + 0.45f * clamp01(seam / 2));
        if (seam > 2 && seam < 4) c = scale(c, 1.12f);
        return c;
    });
    for (int bx = 0; bx < 2; ++bx)
        for (int by = 0; by < 4; ++by)
            for (float ox : {10.0f, 118.0f})
                for (float oy : {10.0f, 54.0f}) {
                    float cx = bx * 128 + ox, cy = by * 64 + oy;
                    image.fillCircle(cx + 1, cy + 1, 3, rgb(0x202428, 0.6f));
                    image.fillCircle(cx, cy, 2.5f, rgb(0x9aa3b0));
                }
    image.savePng(path);
}

void writeLedge(const std::string& path) {
    // Painted tread plate with a hazard band: the platforms of the route stand out.
    const int size = 256;
    ValueNoise wear(5);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float w = wear.fractal(x / 16, y / 16, size / 16, 4);
        Color paint = mix(rgb(0xd08a1e), rgb(0xf0b640), w);
        // Raised diamonds of the tread plate.
        float u = std::fmod(x + y, 32.0f) - 16, v = std::fmod(x - y + 256, 32.0f) - 16;
        float diamond = clamp01(1 - (std::fabs(u) * 0.6f + std::fabs(v) * 0.15f) / 4);
        Color c = scale(paint, 0.9f + 0.25f * diamond);
        if (y < 48) {
            bool black = std::fmod(x + y, 64.0f) < 32;
            c = black ? mix(rgb(0x1c1c1c), rgb(0x3a3a3a), w) : mix(rgb(0xe8c020), rgb(0xffe060), w);
        }
        float edge = std::min(toGrid(y, 256), std::fabs(y - 48));
        c = scale(c, 0.6f + 0.4f * clamp01(edge / 3));
        return c;
    });
    image.savePng(path);
}

void writePit(const std::string& path) {
    // Dark, cracked earth of the boss's den.
    const int size = 256;
    ValueNoise ground(6), cracks(7);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = ground.fractal(x / 32, y / 32, size / 32, 5);
        float c = cracks.fractal(x / 24, y / 24, size / 24, 3);
        Color earth = mix(rgb(0x3a2622), rgb(0x6e4a3a), g);
        float crack = clamp01(1 - std::fabs(c - 0.5f) / 0.025f);
        return mix(earth, rgb(0x140c0a), crack * 0.85f);
    });
    image.savePng(path);
}

void writeCeiling(const std::string& path) {
    const int size = 128;
    ValueNoise grain(8);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = grain.fractal(x / 8, y / 8, size / 8, 3);
        Color c = mix(rgb(0x1c2030), rgb(0x2c3246), g);
        float beam = std::min(toGrid(x, 64), toGrid(y, 64));
        return beam < 4 ? scale(c, 1.6f) : c;
    });
    image.savePng(path);
}

void writePlinth(const std::string& path) {
    // Dark steel along the foot of the walls, a hazard stripe along its top edge.
    const int size = 256;
    ValueNoise grain(16);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = grain.fractal(x / 8, y / 8, size / 8, 3);
        Color c = mix(rgb(0x2a2e36), rgb(0x3c424c), g);
        if (y < 36) c = std::fmod(x + y, 48.0f) < 24 ? rgb(0x1a1a1a) : mix(rgb(0xd8b020), rgb(0xf0cc40), g);
        float seam = std::min(toGrid(x, 128), std::fabs(y - 37));
        return scale(c, 0.6f + 0.4f * clamp01(seam / 2));
    });
    image.savePng(path);
}

void writeTrim(const std::string& path) {
    // A strip of light; the same on every row, so it reads at any height.
    const int size = 64;
    Image image(size, size);
    image.shade([&](float x, float) {
        float gap = toGrid(x, 64);
        return gap < 3 ? rgb(0x304050) : mix(rgb(0x8ae8ff), rgb(0xe8fcff), clamp01((gap - 3) / 12));
    });
    image.savePng(path);
}

void writeLiftDeck(const std::string& path) {
    // Grating with a bright border; one repeat covers the whole 6 x 6 deck.
    const int size = 128;
    Image image(size, size);
    image.shade([&](float x, float y) {
        float hole = std::max(toGrid(x, 8), toGrid(y, 8));
        Color c = hole > 2.5f ? rgb(0x2a3038) : rgb(0xc8d0d8);
        float border = std::min(toGrid(x, 128), toGrid(y, 128));
        if (border < 6) c = rgb(0x40e0e0);
        else if (border < 8) c = rgb(0x203038);
        return c;
    });
    image.savePng(path);
}

void writeRopeKnot(const std::string& path) {
    const int size = 64;
    Image image(size, size);
    image.shade([&](float x, float y) {
        float stripe = 0.5f + 0.5f * std::sin((x + y) * 2 * 3.14159265f / 16);
        return mix(rgb(0xa86a10), rgb(0xffe08a), stripe);
    });
    image.savePng(path);
}

void writeSoftShadow(const std::string& path) {
    const int size = 64;
    Image image(size, size);
    image.shade([&](float x, float y) {
        float d = std::hypot(x - size / 2.0f, y - size / 2.0f) / (size / 2.0f);
        float a = clamp01(1 - d);
        return Color{0, 0, 0, a * a * (3 - 2 * a)};
    });
    image.savePng(path);
}

void writeSpiderHull(const std::string& path) {
    const int size = 128;
    ValueNoise grain(9);
    Random random(10);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = grain.fractal(x / 8, y / 8, size / 8, 3);
        Color c = mix(rgb(0xb8bec8), rgb(0xe4e8ee), g);
        float seam = std::min(toGrid(x, 32), toGrid(y, 64));
        return scale(c, 0.6f + 0.4f * clamp01(seam / 1.5f));
    });
    for (int i = 0; i < 12; ++i) {
        float x = random.range(0, size), y = random.range(0, size), len = random.range(6, 18);
        image.drawLine(x, y, x + len, y + random.range(-3, 3), 0.8f, rgb(0xffffff, 0.35f));
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) image.fillCircle(i * 32 + 5.0f, j * 64 + 5.0f, 1.8f, rgb(0x50545c));
    image.savePng(path);
}

void writeDragonFlyBody(const std::string& path) {
    const int size = 128;
    ValueNoise sheen(12);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float s = sheen.fractal(x / 16, y / 16, size / 16, 3);
        Color c = mix(rgb(0x1aa090), rgb(0x3060d0), 0.5f + 0.5f * std::sin(y / size * 6.2831853f * 2 + s * 3));
        float band = toGrid(y, 16);
        if (band < 2) c = rgb(0x101820);
        float spot = std::hypot(toGrid(x, 32) - 0, toGrid(y + 8, 16));
        if (spot < 3) c = mix(c, rgb(0xf0e060), 0.8f);
        return c;
    });
    image.savePng(path);
}

void writeDragonFlyWing(const std::string& path) {
    // u runs along the span, v across: long veins along the span, cross veins between.
    const int size = 128;
    ValueNoise tint(13);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float t = tint.fractal(x / 16, y / 16, size / 16, 2);
        Color membrane = mix(rgb(0xc8e8ff, 0.35f), rgb(0xe8d0ff, 0.45f), t);
        float longVein = toGrid(y, 21.33f);
        int column = int(y / 21.33f);
        float crossVein = toGrid(x + column * 5.0f, 10 + column % 3 * 2.0f);
        float vein = std::min(longVein / 1.2f, crossVein / 0.7f);
        Color c = mix(rgb(0x30404a, 0.9f), membrane, clamp01(vein));
        // A dark spot near the wing tip, as on real dragonflies.
        if (x > 100 && x < 116 && std::fabs(y - 64) < 40 && longVein > 1) c = mix(c, rgb(0x203040, 0.85f), 0.8f);
        return c;
    });
    image.savePng(path);
}

void writeBossPlate(const std::string& path) {
    const int size = 128;
    ValueNoise grain(14);
    Image image(size, size);
    image.shade([&](float x, float y) {
        float g = grain.fractal(x / 8, y / 8, size / 8, 4);
        Color c = mix(rgb(0x6a5a90), rgb(0xb0a0da), g);
        float ridge = toGrid(y, 64) / 32;  // light along the plate's crest
        c = scale(c, 0.75f + 0.45f * (1 - ridge));
        float spot = std::hypot(toGrid(x, 32), toGrid(y + 16, 64) - 4);
        if (spot < 5) c = mix(c, rgb(0xd0a040), clamp01(5 - spot));
        return c;
    });
    image.savePng(path);
}

void writeBossShell(const std::string& path) {
    const int size = 64;
    Image image(size, size);
    image.shade([&](float x, float y) {
        float stripe = 0.5f + 0.5f * std::sin((x * 2 + y) * 6.2831853f / 32);
        return mix(rgb(0xff5010), rgb(0xffe070), stripe);
    });
    image.savePng(path);
}

void writeSilk(const std::string& path) {
    // Strands wound every which way over a soft glow.
    const int size = 128;
    Random random(15);
    Image image(size, size, rgb(0xdfe8f4));
    for (int i = 0; i < 60; ++i) {
        float x = random.range(0, size), y = random.range(0, size);
        float angle = random.range(0, 3.14159265f), len = random.range(30, 90);
        float dx = std::cos(angle) * len, dy = std::sin(angle) * len;
        Color strand = i % 3 ? rgb(0xffffff, 0.7f) : rgb(0xa8b8d0, 0.6f);
        // Drawn in all nine tile positions so the pattern wraps.
        for (int ox = -1; ox <= 1; ++ox)
            for (int oy = -1; oy <= 1; ++oy)
                image.drawLine(x + ox * size, y + oy * size, x + dx + ox * size, y + dy + oy * size, 1.2f, strand);
    }
    image.savePng(path);
}

}  // namespace

void writeMeshTextures(const std::string& dataDir) {
    const std::string field = dataDir + "/Field/", spider = dataDir + "/Chara/Spider/",
                      fly = dataDir + "/Chara/DragonFly/", boss = dataDir + "/Chara/PillBugs/",
                      ball = dataDir + "/LineBall/";
    for (const std::string& dir : {field, spider, fly, boss, ball}) std::filesystem::create_directories(dir);
    writeFloor(field + texture::kFloor);
    writeWall(field + texture::kWall);
    writeLedge(field + texture::kLedge);
    writePit(field + texture::kPit);
    writeCeiling(field + texture::kCeiling);
    writePlinth(field + texture::kPlinth);
    writeTrim(field + texture::kTrim);
    writeLiftDeck(field + texture::kLiftDeck);
    writeRopeKnot(field + texture::kRopeKnot);
    writeSpiderHull(spider + texture::kSpiderHull);
    writeSoftShadow(spider + texture::kSpiderShadow);
    writeDragonFlyBody(fly + texture::kDragonFlyBody);
    writeDragonFlyWing(fly + texture::kDragonFlyWing);
    writeSoftShadow(fly + texture::kDragonFlyShadow);
    writeBossPlate(boss + texture::kBossPlate);
    writeBossShell(boss + texture::kBossShell);
    writeSilk(ball + texture::kSilk);
}

}  // namespace assetgen
