// One headless Direct3D 9 device for a whole fuzzing run: made on first use, on a
// 1280 x 720 window, as the game makes its own.
#pragma once

#include <d3d9.h>

IDirect3DDevice9* headlessDevice();
