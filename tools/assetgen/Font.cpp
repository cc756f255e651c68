#include "Font.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace assetgen {

Font::Font(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    data_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (data_.empty() || !stbtt_InitFont(&info_, data_.data(), stbtt_GetFontOffsetForIndex(data_.data(), 0)))
        throw std::runtime_error("cannot load font " + path);
}

TextMask Font::render(const std::string& text, float pixelHeight, float spacing, int margin) const {
    const float scale = stbtt_ScaleForPixelHeight(&info_, pixelHeight);
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info_, &ascent, &descent, &lineGap);

    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info_, text[i], &advance, &bearing);
        width += advance * scale + spacing;
        if (i + 1 < text.size()) width += scale * stbtt_GetCodepointKernAdvance(&info_, text[i], text[i + 1]);
    }
    const int baseline = margin + static_cast<int>(std::ceil(ascent * scale));
    TextMask out{Mask(static_cast<int>(std::ceil(width)) + 2 * margin,
                      baseline + static_cast<int>(std::ceil(-descent * scale)) + margin),
                 baseline};

    float pen = static_cast<float>(margin);
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const float shift = pen - std::floor(pen);
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(&info_, c, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
        const int w = x1 - x0, h = y1 - y0;
        if (w > 0 && h > 0) {
            std::vector<unsigned char> glyph(size_t(w) * h);
            stbtt_MakeCodepointBitmapSubpixel(&info_, glyph.data(), w, h, w, scale, scale, shift, 0, c);
            const int left = static_cast<int>(std::floor(pen)) + x0, top = baseline + y0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int mx = left + x, my = top + y;
                    if (mx < 0 || my < 0 || mx >= out.mask.width() || my >= out.mask.height()) continue;
                    float& cell = out.mask.ref(mx, my);
                    cell = std::min(1.0f, cell + glyph[size_t(y) * w + x] / 255.0f);
                }
        }
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info_, c, &advance, &bearing);
        pen += advance * scale + spacing;
        if (i + 1 < text.size()) pen += scale * stbtt_GetCodepointKernAdvance(&info_, c, text[i + 1]);
    }
    return out;
}

GlyphBitmap Font::glyph(int codepoint, float pixelHeight) const {
    const float scale = stbtt_ScaleForPixelHeight(&info_, pixelHeight);
    GlyphBitmap out;
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBox(&info_, codepoint, scale, scale, &x0, &y0, &x1, &y1);
    out.width = std::max(0, x1 - x0);
    out.height = std::max(0, y1 - y0);
    out.left = x0;
    out.top = y0;
    out.coverage.resize(size_t(out.width) * out.height);
    if (!out.coverage.empty())
        stbtt_MakeCodepointBitmap(&info_, out.coverage.data(), out.width, out.height, out.width, scale, scale, codepoint);
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info_, codepoint, &advance, &bearing);
    out.advance = advance * scale;
    return out;
}

float Font::ascent(float pixelHeight) const {
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info_, &ascent, &descent, &lineGap);
    return ascent * stbtt_ScaleForPixelHeight(&info_, pixelHeight);
}

}  // namespace assetgen
