#include "NextPaint.h"

#include <emscripten.h>

namespace velmora::d3d9 {

namespace {

EM_ASYNC_JS(void, nextAnimationFrame, (), {
    await new Promise(function(painted) { requestAnimationFrame(painted); });
    Module.framesShown = (Module.framesShown || 0) + 1;
});

}  // namespace

void waitForNextPaint() { nextAnimationFrame(); }

}  // namespace velmora::d3d9
