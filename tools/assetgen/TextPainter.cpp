#include "TextPainter.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

void TextPainter::draw(Image& image, const Font& font, const std::string& text, float pixelHeight, float centreX,
                       float baselineY, const TextStyle& style) {
    const int margin = static_cast<int>(std::ceil(style.outlineWidth)) + 3 * std::max(style.shadowBlur, style.glowBlur) +
                       style.shadowOffset + 2;
    TextMask text_ = font.render(text, pixelHeight, style.spacing, margin);
    const Mask& letters = text_.mask;
    const int ox = static_cast<int>(std::lround(centreX - letters.width() * 0.5f));
    const int oy = static_cast<int>(std::lround(baselineY)) - text_.baseline;
    const Mask body = style.outlineWidth > 0 ? letters.dilated(style.outlineWidth) : letters;

    auto flat = [](const Color& c) { return [c](int, int) { return c; }; };
    if (style.glow.a > 0) image.paintMask(body.blurred(style.glowBlur), ox, oy, flat(style.glow));
    if (style.shadow.a > 0)
        image.paintMask(body.blurred(style.shadowBlur), ox + style.shadowOffset, oy + style.shadowOffset,
                        flat(style.shadow));
    if (style.outlineWidth > 0) image.paintMask(body, ox, oy, flat(style.outline));

    const float top = oy + text_.baseline - pixelHeight * 0.75f, bottom = oy + static_cast<float>(text_.baseline);
    image.paintMask(letters, ox, oy, [&](int, int y) {
        float t = std::min(1.0f, std::max(0.0f, (y - top) / (bottom - top)));
        return mix(style.top, style.bottom, t);
    });
}

}  // namespace assetgen
