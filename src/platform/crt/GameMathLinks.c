/* The link sends every call of the C library's sinf, cosf, tanf and acosf made in the
 * executable's own code (std::sin of a float and the like in the game) here, to the
 * portable functions (see CMakeLists.txt). sincosf is where a compiler joins a sinf and a
 * cosf of the same angle. */
#include "PortableMath.h"

float __wrap_sinf(float x);
float __wrap_cosf(float x);
float __wrap_tanf(float x);
float __wrap_acosf(float x);
void __wrap_sincosf(float x, float* sine, float* cosine);

float __wrap_sinf(float x) { return portable_sinf(x); }
float __wrap_cosf(float x) { return portable_cosf(x); }
float __wrap_tanf(float x) { return portable_tanf(x); }
float __wrap_acosf(float x) { return portable_acosf(x); }

void __wrap_sincosf(float x, float* sine, float* cosine) {
    *sine = portable_sinf(x);
    *cosine = portable_cosf(x);
}
