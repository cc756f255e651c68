// An RGBA picture in floating point (straight alpha) with the drawing operations the
// generated pictures need, written out as PNG or 24-bit BMP.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color mix(const Color& a, const Color& b, float t);
Color rgb(int hex, float alpha = 1);

// A coverage mask (0..1) such as rendered text.
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), data_(size_t(width) * height, 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }
    float at(int x, int y) const;
    float& ref(int x, int y) { return data_[size_t(y) * width_ + x]; }
    // Grows the shape by a disc of the given radius (for outlines).
    Mask dilated(float radius) const;
    // Softens the shape with a box blur run three times (close to a gaussian).
    Mask blurred(int radius) const;

private:
    int width_, height_;
    std::vector<float> data_;
};

class Image {
public:
    Image(int width, int height, Color fill = {0, 0, 0, 0});
    int width() const { return width_; }
    int height() const { return height_; }
    Color& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
    const Color& at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

    // Paints colour over pixel (x, y) with the given coverage, source over destination.
    void blend(int x, int y, const Color& color, float coverage = 1);
    // Sets every pixel from a function of its centre.
    void shade(const std::function<Color(float x, float y)>& shader);
    // Paints over every pixel with a function of its centre (source over).
    void overlay(const std::function<Color(float x, float y)>& shader);
    void fillRect(float x0, float y0, float x1, float y1, const Color& color);
    void fillCircle(float cx, float cy, float radius, const Color& color, float softness = 1);
    void drawRing(float cx, float cy, float radius, float width, const Color& color, float softness = 1);
    void drawLine(float x0, float y0, float x1, float y1, float width, const Color& color);
    // Paints a mask placed at (ox, oy) in a colour given per pixel.
    void paintMask(const Mask& mask, int ox, int oy, const std::function<Color(int x, int y)>& color);

    // Throw std::runtime_error when the file cannot be written.
    void savePng(const std::string& path) const;
    void saveBmp(const std::string& path) const;  // 24-bit, alpha dropped

private:
    std::vector<unsigned char> bytes(int channels) const;

    int width_, height_;
    std::vector<Color> pixels_;
};

}  // namespace assetgen
