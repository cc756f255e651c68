#include "HeadlessAdapter.h"

#include "HeadlessRenderer.h"

namespace velmora::d3d9 {

bool HeadlessAdapter::desktopMode(D3DDISPLAYMODE& mode) {
    // The desktop the headless backend pretends to have.
    mode = {1920, 1080, 60, D3DFMT_X8R8G8B8};
    return true;
}

std::unique_ptr<Renderer> HeadlessAdapter::createRenderer(const D3DPRESENT_PARAMETERS&) {
    return std::make_unique<HeadlessRenderer>();
}

}  // namespace velmora::d3d9
