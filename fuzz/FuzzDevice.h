// One headless Direct3D 9 device for a whole fuzzing run, made on first use as the game
// makes its own; the run stops at once if there is none.
#pragma once

#include <d3d9.h>

IDirect3DDevice9* fuzzDevice();
