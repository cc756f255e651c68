#include "GlMenuScreen.h"

#include "d3d9/gl/GlContext.h"
#include "d3d9/gl/GlDialect.h"
#include "d3d9/gl/GlProgram.h"
#include "menu/PauseMenu.h"

#include <epoxy/gl.h>
#ifdef __EMSCRIPTEN__
#include <emscripten/html5.h>
#endif

#include <algorithm>
#include <cstdio>

namespace velmora::menu {

namespace {

const char* kVertexShader = R"(layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec4 colour;
uniform vec2 screenSize;
out vec2 uv;
out vec4 tint;
void main() {
    uv = texCoord;
    tint = colour;
    gl_Position = vec4(position.x / screenSize.x * 2.0 - 1.0, 1.0 - position.y / screenSize.y * 2.0, 0.0, 1.0);
}
)";

// The atlas holds coverage in its red channel (with a solid block for boxes); the kept
// frame is a picture.
const char* kFragmentShader = R"(uniform sampler2D picture;
uniform int coverageOnly;
in vec2 uv;
in vec4 tint;
out vec4 fragment;
void main() {
    vec4 texel = texture(picture, uv);
    fragment = coverageOnly == 1 ? vec4(tint.rgb, tint.a * texel.r) : tint * texel;
}
)";

// The title picture's night sky, its orange letters and cream light.
constexpr float kPanel[4] = {0.078f, 0.102f, 0.267f, 0.92f};
constexpr float kOrange[4] = {0.941f, 0.596f, 0.188f, 1.0f};
constexpr float kCream[4] = {1.0f, 0.965f, 0.847f, 1.0f};
constexpr float kPale[4] = {0.784f, 0.831f, 1.0f, 1.0f};
constexpr float kInk[4] = {0.071f, 0.039f, 0.102f, 1.0f};

const char* kGlyphFile = "data/Menu/Glyphs.bin";

// A row a finger can tap, in drawable pixels: 9 mm on a phone, where a CSS pixel is about
// a sixth of a millimetre. Only a page's small picture needs more than the usual rows.
float tapRowHeight(int drawableHeight) {
#ifdef __EMSCRIPTEN__
    double cssWidth = 0.0, cssHeight = 0.0;
    emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight);
    return cssHeight > 0.0 ? static_cast<float>(56.0 * drawableHeight / cssHeight) : 0.0f;
#else
    (void)drawableHeight;
    return 0.0f;
#endif
}

}  // namespace

GlMenuScreen::GlMenuScreen(d3d9::GlContext& context) : context_(context) {
    context_.makeCurrent();
    hasFont_ = font_.load(kGlyphFile);
    if (!hasFont_) std::fprintf(stderr, "velmora: %s is missing or damaged; the menu shows no text\n", kGlyphFile);
    std::string log;
    program_ = d3d9::buildGlProgram(std::string(d3d9::gldialect::kGlslVersion) + kVertexShader,
                                     std::string(d3d9::gldialect::kGlslVersion) + kFragmentShader, log);
    if (!program_) std::fprintf(stderr, "velmora: the menu's shader did not build:\n%s\n", log.c_str());
    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(2 * sizeof(float)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<const void*>(4 * sizeof(float)));

    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &atlas_);
    glBindTexture(GL_TEXTURE_2D, atlas_);
    if (hasFont_) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, font_.atlasWidth(), font_.atlasHeight(), 0, GL_RED, GL_UNSIGNED_BYTE,
                     font_.atlas().data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glGenerateMipmap(GL_TEXTURE_2D);
    } else {
        const unsigned char full = 255;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, 1, 1, 0, GL_RED, GL_UNSIGNED_BYTE, &full);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, hasFont_ ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenTextures(1, &frame_);
    glBindTexture(GL_TEXTURE_2D, frame_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

GlMenuScreen::~GlMenuScreen() {
    context_.makeCurrent();
    glDeleteTextures(1, &frame_);
    glDeleteTextures(1, &atlas_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
    if (program_) glDeleteProgram(program_);
}

void GlMenuScreen::drawableSize(int& width, int& height) const {
    SDL_GL_GetDrawableSize(context_.window(), &width, &height);
    width = std::max(width, 1);
    height = std::max(height, 1);
}

void GlMenuScreen::keepFrame() {
    context_.makeCurrent();
    int width = 0, height = 0;
    drawableSize(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frame_);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 0, 0, width, height, 0);
}

GlMenuScreen::Layout GlMenuScreen::layoutFor(const PauseMenu& menu, int width, int height) {
    Layout layout{};
    // One unit is a pixel of a 1280 x 720 window, so the menu keeps its share of any screen.
    layout.unit = std::min(width / 1280.0f, height / 720.0f);
    const float u = layout.unit;
    const int lines = layout.lines = static_cast<int>(menu.lines().size());
    const bool long_ = lines > 4;
    layout.rowHeight = (long_ ? 32.0f : 56.0f) * u;
    layout.textSize = (long_ ? 22.0f : 34.0f) * u;
    layout.titleSize = (long_ ? 32.0f : 44.0f) * u;
    // Rows a finger can tap, as many as fit; the rest are reached by a drag. The hint under
    // them stays readable on a phone, where a share of the window's height is a few pixels.
    const float tapRow = tapRowHeight(height);
    layout.rowHeight = std::max(layout.rowHeight, tapRow);
    layout.statusSize = std::max(17.0f * u, tapRow * 0.25f);
    layout.panelWidth = std::min(width - 8.0f * u, (long_ ? 760.0f : 640.0f) * u);
    const float titleArea = layout.titleSize * 1.9f, statusArea = layout.statusSize * 2.6f;
    layout.textSize = std::max(layout.textSize, std::min(layout.rowHeight * 0.42f, 34.0f * u));
    const int fit = static_cast<int>((height - titleArea - statusArea) / layout.rowHeight);
    layout.shownRows = std::max(1, std::min(lines, fit));
    layout.panelHeight = titleArea + layout.shownRows * layout.rowHeight + statusArea;
    layout.panelX = (width - layout.panelWidth) / 2.0f;
    layout.panelY = std::max(0.0f, (height - layout.panelHeight) / 2.0f);
    layout.titleBaseline = layout.panelY + layout.titleSize * 1.35f;
    layout.rowsTop = layout.panelY + titleArea;
    layout.statusBaseline = layout.rowsTop + layout.shownRows * layout.rowHeight + layout.statusSize * 1.7f;
    return layout;
}

GlMenuScreen::Layout GlMenuScreen::layoutInWindow(const PauseMenu& menu, float& toDrawableX, float& toDrawableY) const {
    int width = 0, height = 0, windowWidth = 0, windowHeight = 0;
    drawableSize(width, height);
    SDL_GetWindowSize(context_.window(), &windowWidth, &windowHeight);
    // Window coordinates to drawable pixels (they differ on a high-density display).
    toDrawableX = float(width) / std::max(windowWidth, 1);
    toDrawableY = float(height) / std::max(windowHeight, 1);
    return layoutFor(menu, width, height);
}

void GlMenuScreen::scrollRows(const Layout& layout, int selected, int rows) {
    firstShown_ += rows;
    if (rows == 0) {
        firstShown_ = std::min(firstShown_, selected);
        firstShown_ = std::max(firstShown_, selected - layout.shownRows + 1);
    }
    firstShown_ = std::max(0, std::min(firstShown_, layout.lines - layout.shownRows));
}

bool GlMenuScreen::drag(const PauseMenu& menu, int windowPixels) {
    float toDrawableX = 1.0f, toDrawableY = 1.0f;
    const Layout layout = layoutInWindow(menu, toDrawableX, toDrawableY);
    if (layout.shownRows >= layout.lines) return false;
    // The lines follow the finger: a drag up brings the lower ones into view.
    dragRest_ -= windowPixels * toDrawableY;
    const int rows = static_cast<int>(dragRest_ / layout.rowHeight);
    dragRest_ -= rows * layout.rowHeight;
    scrollRows(layout, menu.selected(), rows);
    return true;
}

int GlMenuScreen::lineAt(const PauseMenu& menu, int x, int y) {
    float toDrawableX = 1.0f, toDrawableY = 1.0f;
    const Layout layout = layoutInWindow(menu, toDrawableX, toDrawableY);
    const float px = x * toDrawableX, py = y * toDrawableY;
    if (px < layout.panelX || px >= layout.panelX + layout.panelWidth || py < layout.rowsTop) return -1;
    const int row = static_cast<int>((py - layout.rowsTop) / layout.rowHeight);
    return row < layout.shownRows ? firstShown_ + row : -1;
}

void GlMenuScreen::addBox(float x0, float y0, float x1, float y1, Colour c) {
    // The atlas's solid block.
    const float u = 2.0f / std::max(font_.atlasWidth(), 1), v = 2.0f / std::max(font_.atlasHeight(), 1);
    const Vertex corners[6] = {{x0, y0, u, v, c.r, c.g, c.b, c.a}, {x1, y0, u, v, c.r, c.g, c.b, c.a},
                               {x1, y1, u, v, c.r, c.g, c.b, c.a}, {x0, y0, u, v, c.r, c.g, c.b, c.a},
                               {x1, y1, u, v, c.r, c.g, c.b, c.a}, {x0, y1, u, v, c.r, c.g, c.b, c.a}};
    vertices_.insert(vertices_.end(), corners, corners + 6);
}

void GlMenuScreen::addText(const std::string& text, float x, float baseline, float size, float maxWidth, Colour c) {
    if (!hasFont_) return;
    const float width = font_.width(text, size);
    if (width > maxWidth && width > 0.0f) size *= maxWidth / width;
    placed_.clear();
    font_.place(text, x, baseline, size, placed_);
    const float w = float(font_.atlasWidth()), h = float(font_.atlasHeight());
    for (const MenuFont::Placed& p : placed_) {
        const float u0 = p.glyph->x / w, v0 = p.glyph->y / h;
        const float u1 = (p.glyph->x + p.glyph->width) / w, v1 = (p.glyph->y + p.glyph->height) / h;
        const Vertex corners[6] = {{p.x0, p.y0, u0, v0, c.r, c.g, c.b, c.a}, {p.x1, p.y0, u1, v0, c.r, c.g, c.b, c.a},
                                   {p.x1, p.y1, u1, v1, c.r, c.g, c.b, c.a}, {p.x0, p.y0, u0, v0, c.r, c.g, c.b, c.a},
                                   {p.x1, p.y1, u1, v1, c.r, c.g, c.b, c.a}, {p.x0, p.y1, u0, v1, c.r, c.g, c.b, c.a}};
        vertices_.insert(vertices_.end(), corners, corners + 6);
    }
}

void GlMenuScreen::drawVertices(unsigned texture, bool coverageOnly, int width, int height) {
    if (!program_ || vertices_.empty()) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    d3d9::gldialect::setPolygonMode(d3d9::gldialect::Fill::Solid);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    // The window's alpha stays as it is: a page's canvas would show the page through.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glUseProgram(program_);
    glUniform2f(glGetUniformLocation(program_, "screenSize"), float(width), float(height));
    glUniform1i(glGetUniformLocation(program_, "coverageOnly"), coverageOnly ? 1 : 0);
    glUniform1i(glGetUniformLocation(program_, "picture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, 0);  // the device's sampler would override the texture's filtering
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(Vertex)), vertices_.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices_.size()));
    vertices_.clear();
}

void GlMenuScreen::drawFrame(int width, int height, float tint) {
    // The copy's rows run bottom up.
    const float w = float(width), h = float(height);
    const Vertex corners[6] = {{0, 0, 0, 1, tint, tint, tint, 1}, {w, 0, 1, 1, tint, tint, tint, 1},
                               {w, h, 1, 0, tint, tint, tint, 1}, {0, 0, 0, 1, tint, tint, tint, 1},
                               {w, h, 1, 0, tint, tint, tint, 1}, {0, h, 0, 0, tint, tint, tint, 1}};
    vertices_.assign(corners, corners + 6);
    drawVertices(frame_, false, width, height);
}

void GlMenuScreen::show(const PauseMenu& menu) {
    context_.makeCurrent();
    int width = 0, height = 0;
    drawableSize(width, height);
    drawFrame(width, height, 0.4f);

    const Layout l = layoutFor(menu, width, height);
    const float u = l.unit, right = l.panelX + l.panelWidth, margin = 24.0f * u;
    const Colour panel{kPanel[0], kPanel[1], kPanel[2], kPanel[3]}, orange{kOrange[0], kOrange[1], kOrange[2], 1.0f};
    const Colour cream{kCream[0], kCream[1], kCream[2], 1.0f}, pale{kPale[0], kPale[1], kPale[2], 1.0f};
    const Colour ink{kInk[0], kInk[1], kInk[2], 1.0f};
    const float border = std::max(1.0f, 2.0f * u);
    addBox(l.panelX - border, l.panelY - border, right + border, l.panelY + l.panelHeight + border, orange);
    addBox(l.panelX, l.panelY, right, l.panelY + l.panelHeight, panel);
    const std::vector<PauseMenu::Line> lines = menu.lines();
    scrollRows(l, menu.selected(), 0);
    const int shownEnd = firstShown_ + l.shownRows;
    for (size_t i = firstShown_; i < lines.size() && static_cast<int>(i) < shownEnd; ++i) {
        const float top = l.rowsTop + (i - firstShown_) * l.rowHeight;
        const bool selected = static_cast<int>(i) == menu.selected();
        if (selected) addBox(l.panelX + margin / 2, top, right - margin / 2, top + l.rowHeight, orange);
        const float baseline = top + l.rowHeight / 2 + l.textSize * 0.36f;
        const Colour text = selected ? ink : cream;
        const std::string& value = lines[i].value;
        const bool waiting = selected && menu.page() == PauseMenu::Page::PressKey;
        const std::string shown = waiting ? "..." : selected && !value.empty() ? "<  " + value + "  >" : value;
        const float valueWidth = hasFont_ ? font_.width(shown, l.textSize) : 0.0f;
        const float labelWidth = value.empty() ? l.panelWidth - 2 * margin : l.panelWidth * 0.55f - margin;
        if (value.empty())
            addText(lines[i].label, l.panelX + (l.panelWidth - std::min(font_.width(lines[i].label, l.textSize), labelWidth)) / 2,
                    baseline, l.textSize, labelWidth, text);
        else
            addText(lines[i].label, l.panelX + margin, baseline, l.textSize, labelWidth, text);
        if (!shown.empty())
            addText(shown, right - margin - std::min(valueWidth, l.panelWidth * 0.4f), baseline, l.textSize,
                    l.panelWidth * 0.4f, selected ? ink : pale);
    }

    // Where the lines shown lie among them all, as a thin bar along the panel's right edge.
    if (l.shownRows < l.lines) {
        const float track = l.shownRows * l.rowHeight, share = track / lines.size(), barWidth = std::max(3.0f, 6.0f * u);
        addBox(right - barWidth, l.rowsTop + firstShown_ * share, right, l.rowsTop + shownEnd * share, pale);
    }

    const std::string title = menu.title(), status = menu.status();
    addText(title, l.panelX + std::max(margin, (l.panelWidth - font_.width(title, l.titleSize)) / 2), l.titleBaseline,
            l.titleSize, l.panelWidth - 2 * margin, orange);
    addText(status, l.panelX + std::max(margin, (l.panelWidth - font_.width(status, l.statusSize)) / 2),
            l.statusBaseline, l.statusSize, l.panelWidth - 2 * margin, pale);
    drawVertices(atlas_, true, width, height);
    context_.swap();
}

void GlMenuScreen::restoreFrame() {
    context_.makeCurrent();
    int width = 0, height = 0;
    drawableSize(width, height);
    drawFrame(width, height, 1.0f);
}

}  // namespace velmora::menu
