// One headless Direct3D device for the whole run, so that the data is loaded through the
// same D3DX and mmio calls the game makes.
#pragma once

#include <d3d9.h>

namespace assettest {

// Valid from the start of the first test to the end of the run.
IDirect3DDevice9* testDevice();

}  // namespace assettest
