// The real backend: OpenGL 3.3 core on the SDL window of the device's HWND, drawing into
// the window's own framebuffer or an offscreen one that Present shows in the window, at
// the window's pixel size (see GlBackBuffer).
#pragma once

#include "Renderer.h"

#include <array>
#include <memory>

namespace velmora::menu {
class GlMenuScreen;
}

namespace velmora::d3d9 {

class FixedFunctionPrograms;
class GlBackBuffer;
class GlContext;

class GlRenderer final : public Renderer {
public:
    // Whether a device can be made: SDL video with a display and OpenGL 3.3 core.
    static bool supported();
    // Null when the window has no SDL window or GL cannot be set up on it. A full-screen
    // device turns the window into a desktop-sized full-screen window.
    static std::unique_ptr<GlRenderer> create(const D3DPRESENT_PARAMETERS& params);
    ~GlRenderer() override;

    void clear(const ClearCall& call) override;
    void draw(const DrawCall& call) override;
    void finishFrame() override;
    void present() override;
    menu::MenuScreen* menuScreen() override;
    // Vsync changed in the menu takes effect at once, a render scale or multisampling with a
    // new back buffer.
    void menuClosed() override;
    bool readBack(std::vector<BYTE>& rgba, UINT& width, UINT& height) override;
    bool readDrawn(std::vector<BYTE>& rgba, UINT& width, UINT& height) override;

    void makeCurrent();
    // Drawn pixels per pixel of the back buffer (above 1 when it is drawn larger).
    float frameScale() const;

private:
    static bool scissoredAway(const DeviceState& state);
    GlRenderer() = default;

    // Binds the framebuffer of the frame, choosing it at the first draw or clear after a Present.
    void beginFrame();
    bool makeBackBuffer();

    void bindTextures(const DeviceState& state);
    void bindVertices(const DrawCall& call);
    void setPreludeUniforms(unsigned program, const DeviceState& state);

    std::unique_ptr<GlContext> context_;
    std::unique_ptr<GlBackBuffer> backBuffer_;
    std::unique_ptr<FixedFunctionPrograms> fixedFunction_;
    std::unique_ptr<menu::GlMenuScreen> menuScreen_;
    D3DPRESENT_PARAMETERS params_{};
    int renderScale_ = 0;  // the settings the back buffer was made with
    int samples_ = 0;
    bool hasDepthBuffer_ = true;
    unsigned vertexArray_ = 0;
    unsigned userVertices_ = 0;  // the copy of DrawPrimitiveUP's vertices
    std::array<unsigned, kTextureStageCount> samplers_{};
    // What each texture unit and sampler object was last given, so that a draw sets only
    // what changed (the units and samplers are this renderer's alone).
    std::array<bool, kTextureStageCount> unitHoldsTexture_{};
    std::array<bool, kTextureStageCount> samplerSet_{};
    std::array<std::array<DWORD, kSamplerStateCount>, kTextureStageCount> samplerStatesSet_{};
    // The render states last given to GL; clears, blits and reads change GL's masks behind
    // them, so they forget them.
    std::array<DWORD, kRenderStateCount> renderStatesSet_{};
    bool renderStatesKnown_ = false;
};

}  // namespace velmora::d3d9
