// The pause menu's glyph atlas, data/Menu/Glyphs.bin: printable ASCII and Latin-1 (the
// key names of European layouts) from DejaVu Sans, and every other character the menu's
// texts use (Japanese) from IPA Gothic; only those, so that the file stays small.
//
// Little-endian: "VMGL", u16 pixel height, u16 ascent, u16 atlas width, u16 atlas height,
// u32 glyph count; per glyph u32 code point, u16 x, y, width, height, i16 left, top (from
// the pen on the baseline), i16 advance in 1/16 pixel; then the atlas, 8-bit coverage,
// rows top first. A 4 x 4 block of full coverage at (0, 0) serves the menu's solid boxes.
#include "AssetGroups.h"
#include "Font.h"

#include "MenuTexts.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

namespace assetgen {

namespace {

const char* const kLatinFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kJapaneseFont = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
const float kPixelHeight = 64.0f;
const int kAtlasWidth = 1024;

std::set<int> codepointsOf(const char* text) {
    std::set<int> points;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c;) {
        int point = *c, extra = 0;
        if (*c >= 0xF0) point = *c & 0x07, extra = 3;
        else if (*c >= 0xE0) point = *c & 0x0F, extra = 2;
        else if (*c >= 0xC0) point = *c & 0x1F, extra = 1;
        ++c;
        for (; extra > 0 && (*c & 0xC0) == 0x80; --extra, ++c) point = (point << 6) | (*c & 0x3F);
        points.insert(point);
    }
    return points;
}

void put16(std::ofstream& out, int value) {
    const uint16_t v = static_cast<uint16_t>(value);
    out.put(char(v & 0xFF)).put(char(v >> 8));
}

void put32(std::ofstream& out, uint32_t value) {
    put16(out, int(value & 0xFFFF));
    put16(out, int(value >> 16));
}

struct Placed {
    int codepoint;
    GlyphBitmap bitmap;
    int x = 0, y = 0;
};

}  // namespace

void writeMenuGlyphs(const std::string& dataDir) {
    const Font latin(kLatinFont);
    const Font japanese(kJapaneseFont);
    std::set<int> points;
    for (int c = 0x20; c < 0x7F; ++c) points.insert(c);
    for (int c = 0xA0; c <= 0xFF; ++c) points.insert(c);
    for (const char* text : velmora::menu::MenuTexts::all())
        for (int point : codepointsOf(text)) points.insert(point);

    std::vector<Placed> glyphs;
    for (int point : points) {
        const Font& font = point < 0x2000 && latin.hasGlyph(point) ? latin : japanese;
        if (!font.hasGlyph(point) && point != ' ') throw std::runtime_error("no font has the menu's character U+" + std::to_string(point));
        glyphs.push_back({point, font.glyph(point, kPixelHeight)});
    }
    // Shelves of glyphs, left to right; one texel of space keeps neighbours apart when filtered.
    int x = 6, y = 0, shelf = 6;
    for (Placed& glyph : glyphs) {
        if (x + glyph.bitmap.width + 2 > kAtlasWidth) {
            x = 0;
            y += shelf;
            shelf = 0;
        }
        glyph.x = x + 1;
        glyph.y = y + 1;
        x += glyph.bitmap.width + 2;
        shelf = std::max(shelf, glyph.bitmap.height + 2);
    }
    const int height = y + shelf;
    std::vector<unsigned char> atlas(size_t(kAtlasWidth) * height, 0);
    for (int row = 0; row < 4; ++row) std::fill_n(atlas.begin() + row * kAtlasWidth, 4, 255);
    for (const Placed& glyph : glyphs)
        for (int row = 0; row < glyph.bitmap.height; ++row)
            std::copy_n(glyph.bitmap.coverage.begin() + size_t(row) * glyph.bitmap.width, glyph.bitmap.width,
                        atlas.begin() + size_t(glyph.y + row) * kAtlasWidth + glyph.x);

    std::filesystem::create_directories(dataDir + "/Menu");
    std::ofstream out(dataDir + "/Menu/Glyphs.bin", std::ios::binary);
    out.write("VMGL", 4);
    put16(out, int(kPixelHeight));
    put16(out, int(latin.ascent(kPixelHeight) + 0.5f));
    put16(out, kAtlasWidth);
    put16(out, height);
    put32(out, uint32_t(glyphs.size()));
    for (const Placed& glyph : glyphs) {
        put32(out, uint32_t(glyph.codepoint));
        put16(out, glyph.x);
        put16(out, glyph.y);
        put16(out, glyph.bitmap.width);
        put16(out, glyph.bitmap.height);
        put16(out, glyph.bitmap.left);
        put16(out, glyph.bitmap.top);
        put16(out, int(glyph.bitmap.advance * 16.0f + 0.5f));
    }
    out.write(reinterpret_cast<const char*>(atlas.data()), std::streamsize(atlas.size()));
    if (!out) throw std::runtime_error("cannot write " + dataDir + "/Menu/Glyphs.bin");
}

}  // namespace assetgen
