// The pause menu drawn with GL on the device's window, at the window's own pixel size: the
// game's last frame dimmed, a panel in the title picture's colours, and text from the
// glyph atlas packed at build time. Made when the menu first opens.
#pragma once

#include "MenuFont.h"
#include "menu/MenuScreen.h"

#include <vector>

namespace velmora::d3d9 {
class GlContext;
}

namespace velmora::menu {

class GlMenuScreen final : public MenuScreen {
public:
    explicit GlMenuScreen(d3d9::GlContext& context);
    ~GlMenuScreen() override;
    GlMenuScreen(const GlMenuScreen&) = delete;
    GlMenuScreen& operator=(const GlMenuScreen&) = delete;

    void keepFrame() override;
    void show(const PauseMenu& menu) override;
    int lineAt(const PauseMenu& menu, int x, int y) override;
    bool drag(const PauseMenu& menu, int windowPixels) override;
    void restoreFrame() override;

private:
    // Where everything goes in a drawable of this size, in pixels, y down.
    struct Layout {
        float unit;
        float panelX, panelY, panelWidth, panelHeight;
        float titleSize, titleBaseline;
        float rowsTop, rowHeight, textSize;
        int lines;
        int shownRows;  // fewer than the lines where rows a finger can tap do not all fit
        float statusSize, statusBaseline;
    };
    struct Vertex {
        float x, y, u, v, r, g, b, a;
    };
    struct Colour {
        float r, g, b, a;
    };

    static Layout layoutFor(const PauseMenu& menu, int width, int height);
    void drawableSize(int& width, int& height) const;
    // The layout in the window, and how many drawable pixels a window pixel is.
    Layout layoutInWindow(const PauseMenu& menu, float& toDrawableX, float& toDrawableY) const;
    // Moves firstShown_ by so many rows, or to keep the selected line in view, within the lines.
    void scrollRows(const Layout& layout, int selected, int rows);
    void addBox(float x0, float y0, float x1, float y1, Colour colour);
    // Text in a colour with its pen at x on the baseline, shrunk to fit maxWidth.
    void addText(const std::string& text, float x, float baseline, float size, float maxWidth, Colour colour);
    // The kept frame over the whole drawable, tinted.
    void drawFrame(int width, int height, float tint);
    void drawVertices(unsigned texture, bool coverageOnly, int width, int height);

    d3d9::GlContext& context_;
    MenuFont font_;
    bool hasFont_ = false;
    unsigned program_ = 0;
    unsigned vertexArray_ = 0;
    unsigned vertexBuffer_ = 0;
    unsigned atlas_ = 0;
    unsigned frame_ = 0;
    std::vector<Vertex> vertices_;
    std::vector<MenuFont::Placed> placed_;
    // The first line shown, and a drag's part of a row not yet scrolled, in drawable pixels.
    int firstShown_ = 0;
    float dragRest_ = 0.0f;
};

}  // namespace velmora::menu
