// Draws a line of text with a gradient fill, an outline, a drop shadow and a glow.
#pragma once

#include "Font.h"
#include "Image.h"

#include <string>

namespace assetgen {

struct TextStyle {
    Color top{1, 1, 1, 1};     // fill at the top of the letters
    Color bottom{1, 1, 1, 1};  // fill at the baseline
    Color outline{0, 0, 0, 0};
    float outlineWidth = 0;
    Color shadow{0, 0, 0, 0};
    int shadowOffset = 0;  // down and right, pixels
    int shadowBlur = 1;
    Color glow{0, 0, 0, 0};
    int glowBlur = 1;
    float spacing = 0;  // extra pixels between letters
};

class TextPainter {
public:
    // Centres the text horizontally on centreX with its baseline on baselineY.
    static void draw(Image& image, const Font& font, const std::string& text, float pixelHeight, float centreX,
                     float baselineY, const TextStyle& style);
};

}  // namespace assetgen
