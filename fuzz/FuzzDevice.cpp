#include "FuzzDevice.h"

#include <cstdio>
#include <cstdlib>

#include "HeadlessDevice.h"

IDirect3DDevice9* fuzzDevice() {
    static HeadlessDevice headless;
    if (!headless.device && FAILED(headless.create())) {
        std::fprintf(stderr, "no headless Direct3D device\n");
        std::abort();
    }
    return headless.device;
}
