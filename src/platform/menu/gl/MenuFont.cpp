#include "MenuFont.h"

#include <fstream>
#include <iterator>

namespace velmora::menu {

namespace {

class Reader {
public:
    explicit Reader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    bool has(size_t count) const { return at_ + count <= bytes_.size(); }
    int u16() {
        const int value = bytes_[at_] | (bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    int s16() { return static_cast<int16_t>(u16()); }
    uint32_t u32() {
        const uint32_t low = static_cast<uint32_t>(u16());
        return low | (static_cast<uint32_t>(u16()) << 16);
    }
    size_t at() const { return at_; }

private:
    const std::vector<unsigned char>& bytes_;
    size_t at_ = 0;
};

}  // namespace

bool MenuFont::load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Reader in(bytes);
    if (!in.has(16) || std::string(bytes.begin(), bytes.begin() + 4) != "VMGL") return false;
    in.u32();
    pixelHeight_ = static_cast<float>(in.u16());
    ascent_ = static_cast<float>(in.u16());
    atlasWidth_ = in.u16();
    atlasHeight_ = in.u16();
    const uint32_t count = in.u32();
    if (!in.has(size_t(count) * 18)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t codepoint = in.u32();
        Glyph glyph{};
        glyph.x = in.u16();
        glyph.y = in.u16();
        glyph.width = in.u16();
        glyph.height = in.u16();
        glyph.left = in.s16();
        glyph.top = in.s16();
        glyph.advance = static_cast<float>(in.s16()) / 16.0f;
        if (glyph.x + glyph.width > atlasWidth_ || glyph.y + glyph.height > atlasHeight_) return false;
        glyphs_[codepoint] = glyph;
    }
    const size_t atlasBytes = size_t(atlasWidth_) * atlasHeight_;
    if (bytes.size() - in.at() != atlasBytes || !find('?')) return false;
    atlas_.assign(bytes.begin() + std::ptrdiff_t(in.at()), bytes.end());
    return true;
}

const MenuFont::Glyph* MenuFont::find(uint32_t codepoint) const {
    auto found = glyphs_.find(codepoint);
    if (found != glyphs_.end()) return &found->second;
    found = glyphs_.find('?');
    return found == glyphs_.end() ? nullptr : &found->second;
}

std::vector<uint32_t> MenuFont::codepoints(const std::string& text) {
    std::vector<uint32_t> points;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i++]);
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t point = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : extra == 1 ? lead & 0x1Fu : lead;
        for (; extra > 0 && i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; --extra)
            point = (point << 6) | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
        points.push_back(point);
    }
    return points;
}

float MenuFont::width(const std::string& text, float size) const {
    float pen = 0.0f;
    for (uint32_t point : codepoints(text))
        if (const Glyph* glyph = find(point)) pen += glyph->advance;
    return pen * size / pixelHeight_;
}

void MenuFont::place(const std::string& text, float x, float baseline, float size, std::vector<Placed>& out) const {
    const float scale = size / pixelHeight_;
    for (uint32_t point : codepoints(text)) {
        const Glyph* glyph = find(point);
        if (!glyph) continue;
        if (glyph->width > 0) {
            const float left = x + glyph->left * scale, top = baseline + glyph->top * scale;
            out.push_back({left, top, left + glyph->width * scale, top + glyph->height * scale, glyph});
        }
        x += glyph->advance * scale;
    }
}

}  // namespace velmora::menu
