// In the browser the renderer draws with WebGL 2 through emscripten's OpenGL ES 3.0
// header; this stands in for libepoxy's, so the renderer includes one name everywhere.
#pragma once

#include <GLES3/gl3.h>
