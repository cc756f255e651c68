// The pause menu's glyph atlas (data/Menu/Glyphs.bin, packed at build time by assetgen:
// see tools/assetgen/MenuGlyphs.cpp for the layout) and the placing of UTF-8 text with it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::menu {

class MenuFont {
public:
    struct Glyph {
        int x, y, width, height;  // in the atlas
        int left, top;            // from the pen on the baseline, at the atlas's size
        float advance;
    };
    // One glyph placed on the screen: a rectangle and its rectangle in the atlas, in pixels.
    struct Placed {
        float x0, y0, x1, y1;
        const Glyph* glyph;
    };

    // False when the file is missing or damaged.
    bool load(const std::string& path);

    int atlasWidth() const { return atlasWidth_; }
    int atlasHeight() const { return atlasHeight_; }
    const std::vector<unsigned char>& atlas() const { return atlas_; }
    // The pixel height the atlas was drawn at, and its ascent.
    float pixelHeight() const { return pixelHeight_; }
    float ascent() const { return ascent_; }

    // Width of the text drawn `size` pixels high.
    float width(const std::string& text, float size) const;
    // The text's glyphs, its pen starting at x on the baseline; a character the atlas
    // lacks shows as '?'.
    void place(const std::string& text, float x, float baseline, float size, std::vector<Placed>& out) const;

private:
    const Glyph* find(uint32_t codepoint) const;
    static std::vector<uint32_t> codepoints(const std::string& text);

    float pixelHeight_ = 0.0f;
    float ascent_ = 0.0f;
    int atlasWidth_ = 0;
    int atlasHeight_ = 0;
    std::unordered_map<uint32_t, Glyph> glyphs_;
    std::vector<unsigned char> atlas_;
};

}  // namespace velmora::menu
