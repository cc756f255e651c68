// An RGBA picture painted with anti-aliased shapes. Each shape is given by its signed
// distance in pixels (negative inside), so the edge coverage comes from the distance
// itself and the outlines stay smooth at any size.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace icon {

struct Colour {
    float r, g, b, a;
};

struct Point {
    float x, y;
};

class Canvas {
public:
    using Distance = std::function<float(Point)>;
    using Paint = std::function<Colour(Point)>;

    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Blends `paint` over the picture wherever `shape` covers it ("over" compositing).
    void fill(const Distance& shape, const Paint& paint);
    void fill(const Distance& shape, Colour colour);

    Colour pixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    // The picture as PNG file bytes (empty if encoding failed).
    std::vector<uint8_t> encodePng() const;

    static Distance circle(Point centre, float radius);
    static Distance roundedBox(Point centre, float halfWidth, float halfHeight, float cornerRadius);
    // A stroke of the given width between two points, with round ends.
    static Distance segment(Point from, Point to, float width);
    // The band of the given width along a circle.
    static Distance ring(Point centre, float radius, float width);
    // Where both shapes cover.
    static Distance within(Distance shape, Distance bounds);

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;  // premultiplied alpha
};

}  // namespace icon
