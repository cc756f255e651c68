#include "Direct3D9.h"

#include "Adapter.h"
#include "Device.h"
#include "win32/WindowSystem.h"

#include <memory>

namespace velmora::d3d9 {

namespace {

Adapter* g_adapter = nullptr;

bool displayFormat(D3DFORMAT format) { return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8; }

bool depthFormat(D3DFORMAT format) {
    return format == D3DFMT_D24S8 || format == D3DFMT_D24X8 || format == D3DFMT_D16;
}

DWORD vertexProcessingFlags(DWORD flags) {
    return flags &
           (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
}

}  // namespace

void useAdapter(Adapter& adapter) { g_adapter = &adapter; }
Adapter& currentAdapter() { return *g_adapter; }

}  // namespace velmora::d3d9

namespace velmora {

std::string missingGraphics() { return d3d9::currentAdapter().missingGraphics(); }

}  // namespace velmora

namespace velmora::d3d9 {

HRESULT Direct3D9::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    return currentAdapter().desktopMode(*mode) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

bool Direct3D9::completePresentParameters(HWND focusWindow, D3DPRESENT_PARAMETERS& params) {
    if (!params.hDeviceWindow) params.hDeviceWindow = focusWindow;
    if (params.Windowed) {
        if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0) {
            int width = 0, height = 0;
            if (!params.hDeviceWindow || !win32::clientSize(params.hDeviceWindow, &width, &height) || width <= 0 ||
                height <= 0)
                return false;
            if (params.BackBufferWidth == 0) params.BackBufferWidth = UINT(width);
            if (params.BackBufferHeight == 0) params.BackBufferHeight = UINT(height);
        }
        if (params.BackBufferFormat == D3DFMT_UNKNOWN) params.BackBufferFormat = D3DFMT_X8R8G8B8;
    } else if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 || !params.hDeviceWindow) {
        return false;
    }
    if (!displayFormat(params.BackBufferFormat)) return false;
    if (params.BackBufferCount == 0) params.BackBufferCount = 1;
    if (params.BackBufferCount > 3) return false;
    if (params.EnableAutoDepthStencil && !depthFormat(params.AutoDepthStencilFormat)) return false;
    return true;
}

HRESULT Direct3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || !params) return D3DERR_INVALIDCALL;
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF) return D3DERR_NOTAVAILABLE;
    const DWORD processing = vertexProcessingFlags(behaviorFlags);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
        processing != D3DCREATE_MIXED_VERTEXPROCESSING)
        return D3DERR_INVALIDCALL;

    D3DPRESENT_PARAMETERS completed = *params;
    if (!completePresentParameters(focusWindow, completed)) return D3DERR_INVALIDCALL;

    std::unique_ptr<Renderer> renderer = currentAdapter().createRenderer(completed);
    if (!renderer) return D3DERR_NOTAVAILABLE;
    *params = completed;
    *device = new Device(this, completed, std::move(renderer));
    return D3D_OK;
}

}  // namespace velmora::d3d9

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    if (!velmora::d3d9::currentAdapter().usable()) return nullptr;
    return new velmora::d3d9::Direct3D9();
}
