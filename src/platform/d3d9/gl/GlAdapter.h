// The real adapter: the desktop SDL reports, and OpenGL 3.3 renderers on the windows'
// SDL windows.
#pragma once

#include "Adapter.h"

namespace velmora::d3d9 {

class GlAdapter final : public Adapter {
public:
    bool usable() override;
    bool desktopMode(D3DDISPLAYMODE& mode) override;
    std::string missingGraphics() override;
    std::unique_ptr<Renderer> createRenderer(const D3DPRESENT_PARAMETERS& params) override;
};

}  // namespace velmora::d3d9
