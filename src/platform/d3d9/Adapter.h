// The display adapter under IDirect3D9, one per backend (gl/, headless/): what it reports
// of the desktop and the renderer it gives each new device. The backend chosen at start-up
// (velmora::selectBackend) hands its adapter to useAdapter.
#pragma once

#include "Renderer.h"

#include <d3d9.h>

#include <memory>
#include <string>

namespace velmora::d3d9 {

class Adapter {
public:
    virtual ~Adapter() = default;
    // Direct3DCreate9 fails when the adapter can make no device at all.
    virtual bool usable() = 0;
    // False when the desktop cannot be asked.
    virtual bool desktopMode(D3DDISPLAYMODE& mode) = 0;
    // What the player is told when this display's graphics cannot draw the game at all;
    // empty when they can, or when there is no display to ask.
    virtual std::string missingGraphics() { return ""; }
    // Null when no renderer can be made for these (completed) parameters.
    virtual std::unique_ptr<Renderer> createRenderer(const D3DPRESENT_PARAMETERS& params) = 0;
};

void useAdapter(Adapter& adapter);
Adapter& currentAdapter();

}  // namespace velmora::d3d9
