// A TrueType font rasterised with stb_truetype into coverage masks.
#pragma once

#include "Image.h"

#include <stb_truetype.h>

#include <string>
#include <vector>

namespace assetgen {

struct TextMask {
    Mask mask;
    int baseline;  // row of the baseline inside the mask
};

// One character's coverage (8-bit), placed by its offset from the pen on the baseline.
struct GlyphBitmap {
    std::vector<unsigned char> coverage;
    int width = 0, height = 0, left = 0, top = 0;
    float advance = 0;
};

class Font {
public:
    // Throws std::runtime_error when the file cannot be read or parsed.
    explicit Font(const std::string& path);

    // Renders ASCII text at the given pixel height with extra letter spacing and a
    // transparent margin on every side.
    TextMask render(const std::string& text, float pixelHeight, float spacing, int margin) const;

    bool hasGlyph(int codepoint) const { return stbtt_FindGlyphIndex(&info_, codepoint) != 0; }
    GlyphBitmap glyph(int codepoint, float pixelHeight) const;
    // Pixels from the top of the tallest letter to the baseline.
    float ascent(float pixelHeight) const;

private:
    std::vector<unsigned char> data_;
    stbtt_fontinfo info_{};
};

}  // namespace assetgen
