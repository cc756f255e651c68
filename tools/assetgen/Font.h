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

class Font {
public:
    // Throws std::runtime_error when the file cannot be read or parsed.
    explicit Font(const std::string& path);

    // Renders ASCII text at the given pixel height with extra letter spacing and a
    // transparent margin on every side.
    TextMask render(const std::string& text, float pixelHeight, float spacing, int margin) const;

private:
    std::vector<unsigned char> data_;
    stbtt_fontinfo info_{};
};

}  // namespace assetgen
