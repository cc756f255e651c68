#include "GlAdapter.h"

#include "GlContext.h"
#include "GlRenderer.h"
#include "win32/WindowSystem.h"

#include <SDL.h>

namespace velmora::d3d9 {

bool GlAdapter::usable() { return GlRenderer::supported(); }

bool GlAdapter::desktopMode(D3DDISPLAYMODE& mode) {
    SDL_DisplayMode desktop;
    if (!win32::videoAvailable() || SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
    mode.Width = UINT(desktop.w);
    mode.Height = UINT(desktop.h);
    mode.RefreshRate = UINT(desktop.refresh_rate);
    mode.Format = D3DFMT_X8R8G8B8;
    return true;
}

std::string GlAdapter::missingGraphics() { return GlContext::missingOpenGl(); }

std::unique_ptr<Renderer> GlAdapter::createRenderer(const D3DPRESENT_PARAMETERS& params) {
    return GlRenderer::create(params);
}

}  // namespace velmora::d3d9
