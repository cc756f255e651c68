// IDirect3D9: the display mode of the desktop and device creation.
#pragma once

#include "ComObject.h"

#include <d3d9.h>

namespace velmora::d3d9 {

class Direct3D9 final : public ComObject<IDirect3D9> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

private:
    // Fills in what the runtime derives (windowed size from the client area, formats,
    // buffer count); false when the parameters cannot make a device.
    bool completePresentParameters(HWND focusWindow, D3DPRESENT_PARAMETERS& params);
};

}  // namespace velmora::d3d9
