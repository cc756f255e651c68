#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <stb_image_write.h>

namespace icon {

namespace {

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, Colour{0, 0, 0, 0}) {}

void Canvas::fill(const Distance& shape, const Paint& paint) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Point centre{x + 0.5f, y + 0.5f};
            const float coverage = clamp01(0.5f - shape(centre));
            if (coverage <= 0.0f) continue;
            const Colour c = paint(centre);
            const float alpha = clamp01(c.a) * coverage;
            Colour& out = pixels_[static_cast<size_t>(y) * width_ + x];
            out.r = clamp01(c.r) * alpha + out.r * (1.0f - alpha);
            out.g = clamp01(c.g) * alpha + out.g * (1.0f - alpha);
            out.b = clamp01(c.b) * alpha + out.b * (1.0f - alpha);
            out.a = alpha + out.a * (1.0f - alpha);
        }
    }
}

void Canvas::fill(const Distance& shape, Colour colour) {
    fill(shape, [colour](Point) { return colour; });
}

Colour Canvas::pixel(int x, int y) const {
    const Colour& p = pixels_[static_cast<size_t>(y) * width_ + x];
    if (p.a <= 0.0f) return Colour{0, 0, 0, 0};
    return Colour{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

namespace {

std::vector<uint8_t> straightRgba(const Canvas& canvas) {
    std::vector<uint8_t> bytes(static_cast<size_t>(canvas.width()) * canvas.height() * 4);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Colour c = canvas.pixel(x, y);
            uint8_t* out = &bytes[(static_cast<size_t>(y) * canvas.width() + x) * 4];
            out[0] = static_cast<uint8_t>(std::lround(clamp01(c.r) * 255.0f));
            out[1] = static_cast<uint8_t>(std::lround(clamp01(c.g) * 255.0f));
            out[2] = static_cast<uint8_t>(std::lround(clamp01(c.b) * 255.0f));
            out[3] = static_cast<uint8_t>(std::lround(clamp01(c.a) * 255.0f));
        }
    }
    return bytes;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

bool Canvas::writePng(const std::string& path) const {
    const std::vector<uint8_t> bytes = straightRgba(*this);
    return stbi_write_png(path.c_str(), width_, height_, 4, bytes.data(), width_ * 4) != 0;
}

std::vector<uint8_t> Canvas::encodePng() const {
    const std::vector<uint8_t> bytes = straightRgba(*this);
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(appendBytes, &png, width_, height_, 4, bytes.data(), width_ * 4)) png.clear();
    return png;
}

Canvas::Distance Canvas::circle(Point centre, float radius) {
    return [=](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) - radius; };
}

Canvas::Distance Canvas::roundedBox(Point centre, float halfWidth, float halfHeight, float cornerRadius) {
    return [=](Point p) {
        const float qx = std::fabs(p.x - centre.x) - (halfWidth - cornerRadius);
        const float qy = std::fabs(p.y - centre.y) - (halfHeight - cornerRadius);
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - cornerRadius;
    };
}

Canvas::Distance Canvas::segment(Point from, Point to, float width) {
    return [=](Point p) {
        const float dx = to.x - from.x, dy = to.y - from.y;
        const float lengthSq = dx * dx + dy * dy;
        const float t = lengthSq > 0.0f ? clamp01(((p.x - from.x) * dx + (p.y - from.y) * dy) / lengthSq) : 0.0f;
        return std::hypot(p.x - (from.x + t * dx), p.y - (from.y + t * dy)) - width * 0.5f;
    };
}

Canvas::Distance Canvas::ring(Point centre, float radius, float width) {
    return [=](Point p) { return std::fabs(std::hypot(p.x - centre.x, p.y - centre.y) - radius) - width * 0.5f; };
}

Canvas::Distance Canvas::within(Distance shape, Distance bounds) {
    return [shape = std::move(shape), bounds = std::move(bounds)](Point p) { return std::max(shape(p), bounds(p)); };
}

}  // namespace icon
