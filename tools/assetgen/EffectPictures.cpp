// Effect sprites: the explosion sheet and the two growing waves.
#include "AssetGroups.h"

#include "Image.h"
#include "Random.h"
#include "ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
float smooth(float a, float b, float x) {
    float t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

struct Puff {
    float angle, speed, size, phase;
};

// Colour of the explosion at time t (0..1) where the cloud has the given density:
// a white flash, orange fire, then smoke that starts dark and thins to light grey.
Color explosionColor(float t, float density) {
    const Color flash = rgb(0xfff8e0), fire = rgb(0xff9a30), ember = rgb(0xc03a10);
    const Color darkSmoke = rgb(0x2a2624), lightSmoke = rgb(0xa8a4a0);
    Color smoke = mix(darkSmoke, lightSmoke, smooth(0.3f, 1.0f, t));
    Color hot = t < 0.12f ? mix(flash, fire, t / 0.12f) : mix(fire, ember, smooth(0.12f, 0.35f, t));
    float heat = (1 - smooth(0.2f, 0.45f, t)) * clamp01(density * 1.3f);
    return mix(smoke, hot, heat);
}

void writeSmoke(const std::string& path) {
    // 8 x 8 cells of 32 pixels; cells 0..52 run one explosion, the rest stay empty.
    // Every cell fades to nothing at its border so neighbours never bleed in.
    Image image(256, 256);
    Random random(51);
    std::vector<Puff> puffs(10);
    for (Puff& p : puffs) p = {random.range(0, 6.2831853f), random.range(0.3f, 1.0f), random.range(0.6f, 1.0f), random.range(0, 10)};
    ValueNoise texture(52);
    for (int cell = 0; cell <= 52; ++cell) {
        const float t = cell / 52.0f;
        const int ox = (cell % 8) * 32, oy = (cell / 8) * 32;
        const float grow = 0.5f + 0.5f * std::sqrt(t);
        const float fade = 1 - smooth(0.55f, 1.0f, t) * 0.85f;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                float px = x + 0.5f - 16, py = y + 0.5f - 16;
                float density = 0;
                for (const Puff& p : puffs) {
                    float reach = 8 * p.speed * grow;
                    float cx = std::cos(p.angle) * reach, cy = std::sin(p.angle) * reach - 3 * t;  // smoke rises
                    float r = (4.5f + 4.5f * p.size) * grow;
                    float d = std::hypot(px - cx, py - cy) / r;
                    density += std::exp(-d * d * 1.6f);
                }
                float n = texture.fractal((x + ox) / 6.0f, (y + oy) / 6.0f, 256 / 6, 3);
                density *= 0.4f + 1.2f * n;
                float border = std::min({x + 0.5f, 31.5f - x, y + 0.5f, 31.5f - y});
                float alpha = clamp01(density * 1.4f - 0.15f) * fade * smooth(0.5f, 3.5f, border);
                Color c = explosionColor(t, density);
                image.at(ox + x, oy + y) = Color{c.r, c.g, c.b, alpha};
            }
    }
    image.savePng(path);
}

// A soft ring for the growing waves; inner is a faint fill inside the ring.
void writeRing(const std::string& path, const Color& edge, const Color& centre, float ringRadius, float ringWidth,
               float inner) {
    const int size = 128;
    Image image(size, size);
    image.shade([&](float x, float y) {
        float r = std::hypot(x - 64, y - 64) / 64;
        float ring = std::exp(-std::pow((r - ringRadius) / ringWidth, 2.0f));
        float fill = inner * smooth(1.0f, 0.0f, r / ringRadius) * (r < ringRadius ? 1.0f : 0.0f);
        Color c = mix(edge, centre, clamp01(ring * ring));
        float alpha = clamp01(ring + fill) * smooth(1.0f, 0.94f, r);
        return Color{c.r, c.g, c.b, alpha};
    });
    image.savePng(path);
}

}  // namespace

void writeEffectPictures(const std::string& dataDir) {
    std::filesystem::create_directories(dataDir + "/Texture");
    std::filesystem::create_directories(dataDir + "/LineBall");
    writeSmoke(dataDir + "/Texture/Smoke.png");
    writeRing(dataDir + "/Texture/DamageWave.png", rgb(0xff3018), rgb(0xfff0c0), 0.78f, 0.12f, 0.25f);
    writeRing(dataDir + "/LineBall/Wave.png", rgb(0x40c8ff), rgb(0xf0ffff), 0.82f, 0.07f, 0.15f);
}

}  // namespace assetgen
