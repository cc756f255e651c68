#include "Image.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {
namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// Coverage of a pixel by a shape edge at signed distance d (negative inside).
float edgeCoverage(float d, float softness) { return clamp01(0.5f - d / softness); }

}  // namespace

Color mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color rgb(int hex, float alpha) {
    return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f, alpha};
}

float Mask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return data_[size_t(y) * width_ + x];
}

Mask Mask::dilated(float radius) const {
    Mask out(width_, height_);
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    float d = std::sqrt(float(dx * dx + dy * dy));
                    float weight = clamp01(radius + 0.5f - d);
                    if (weight > 0) best = std::max(best, at(x + dx, y + dy) * weight);
                }
            out.ref(x, y) = best;
        }
    return out;
}

Mask Mask::blurred(int radius) const {
    Mask current = *this;
    for (int pass = 0; pass < 3; ++pass) {
        Mask horizontal(width_, height_), vertical(width_, height_);
        const float norm = 1.0f / (2 * radius + 1);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) sum += current.at(x + k, y);
                horizontal.ref(x, y) = sum * norm;
            }
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k) sum += horizontal.at(x, y + k);
                vertical.ref(x, y) = sum * norm;
            }
        current = vertical;
    }
    return current;
}

Image::Image(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(size_t(width) * height, fill) {}

void Image::blend(int x, int y, const Color& c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float sa = clamp01(c.a * coverage);
    if (sa <= 0) return;
    Color& d = at(x, y);
    float outA = sa + d.a * (1 - sa);
    if (outA <= 0) return;
    float wd = d.a * (1 - sa);
    d.r = (c.r * sa + d.r * wd) / outA;
    d.g = (c.g * sa + d.g * wd) / outA;
    d.b = (c.b * sa + d.b * wd) / outA;
    d.a = outA;
}

void Image::shade(const std::function<Color(float, float)>& shader) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) at(x, y) = shader(x + 0.5f, y + 0.5f);
}

void Image::overlay(const std::function<Color(float, float)>& shader) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) blend(x, y, shader(x + 0.5f, y + 0.5f));
}

void Image::fillRect(float x0, float y0, float x1, float y1, const Color& color) {
    for (int y = std::max(0, int(std::floor(y0))); y < std::min(height_, int(std::ceil(y1))); ++y)
        for (int x = std::max(0, int(std::floor(x0))); x < std::min(width_, int(std::ceil(x1))); ++x) {
            float cx = clamp01(std::min(x + 1.0f, x1) - std::max(float(x), x0));
            float cy = clamp01(std::min(y + 1.0f, y1) - std::max(float(y), y0));
            blend(x, y, color, cx * cy);
        }
}

void Image::fillCircle(float cx, float cy, float radius, const Color& color, float softness) {
    const float reach = radius + softness;
    for (int y = std::max(0, int(cy - reach)); y <= std::min(height_ - 1, int(cy + reach)); ++y)
        for (int x = std::max(0, int(cx - reach)); x <= std::min(width_ - 1, int(cx + reach)); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            blend(x, y, color, edgeCoverage(d, softness));
        }
}

void Image::drawRing(float cx, float cy, float radius, float width, const Color& color, float softness) {
    const float reach = radius + width + softness;
    for (int y = std::max(0, int(cy - reach)); y <= std::min(height_ - 1, int(cy + reach)); ++y)
        for (int x = std::max(0, int(cx - reach)); x <= std::min(width_ - 1, int(cx + reach)); ++x) {
            float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius) - width * 0.5f;
            blend(x, y, color, edgeCoverage(d, softness));
        }
}

void Image::drawLine(float x0, float y0, float x1, float y1, float width, const Color& color) {
    const float half = width * 0.5f;
    const float dx = x1 - x0, dy = y1 - y0;
    const float lengthSquared = std::max(1e-6f, dx * dx + dy * dy);
    for (int y = std::max(0, int(std::min(y0, y1) - half - 2)); y <= std::min(height_ - 1, int(std::max(y0, y1) + half + 2)); ++y)
        for (int x = std::max(0, int(std::min(x0, x1) - half - 2)); x <= std::min(width_ - 1, int(std::max(x0, x1) + half + 2)); ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = clamp01((px * dx + py * dy) / lengthSquared);
            float d = std::hypot(px - t * dx, py - t * dy) - half;
            blend(x, y, color, edgeCoverage(d, 1));
        }
}

void Image::paintMask(const Mask& mask, int ox, int oy, const std::function<Color(int, int)>& color) {
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            float coverage = mask.at(x, y);
            if (coverage > 0) blend(ox + x, oy + y, color(ox + x, oy + y), coverage);
        }
}

std::vector<unsigned char> Image::bytes(int channels) const {
    std::vector<unsigned char> out(size_t(width_) * height_ * channels);
    auto toByte = [](float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < pixels_.size(); ++i) {
        const Color& c = pixels_[i];
        out[i * channels + 0] = toByte(c.r);
        out[i * channels + 1] = toByte(c.g);
        out[i * channels + 2] = toByte(c.b);
        if (channels == 4) out[i * channels + 3] = toByte(c.a);
    }
    return out;
}

void Image::savePng(const std::string& path) const {
    std::vector<unsigned char> data = bytes(4);
    if (!stbi_write_png(path.c_str(), width_, height_, 4, data.data(), width_ * 4))
        throw std::runtime_error("cannot write " + path);
}

void Image::saveBmp(const std::string& path) const {
    std::vector<unsigned char> data = bytes(3);
    if (!stbi_write_bmp(path.c_str(), width_, height_, 3, data.data())) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
