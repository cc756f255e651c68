// The headless adapter: a fixed desktop and renderers that only record into the draw log.
#pragma once

#include "Adapter.h"

namespace velmora::d3d9 {

class HeadlessAdapter final : public Adapter {
public:
    bool usable() override { return true; }
    bool desktopMode(D3DDISPLAYMODE& mode) override;
    std::unique_ptr<Renderer> createRenderer(const D3DPRESENT_PARAMETERS& params) override;
};

}  // namespace velmora::d3d9
