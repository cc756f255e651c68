// A Direct3D 9 device on the headless backend, on a 1280 x 720 window, made as the game
// makes its own: shared by the platform tests, the data checks and the fuzz targets. Its
// draw log shows what D3DX asks of it; its buffers and textures keep their data in memory.
#pragma once

#include <d3d9.h>

// The game's device creation flags for hardware vertex processing.
inline constexpr DWORD kHardwareFlags =
    D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;

// A borderless window on the selected backend, so that its client area is the size asked for.
HWND createTestWindow(int clientWidth, int clientHeight);

// The game's presentation parameters for a windowed device on `window`.
D3DPRESENT_PARAMETERS windowedParameters(HWND window);

class HeadlessDevice {
public:
    // Selects the headless backend, starts from an empty window system and draw log, and
    // makes the window and the device: D3D_OK, or why not.
    HRESULT create();
    // Releases what create() made and empties the window system and draw log again.
    void release();

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params{};
};
