/* sinf, cosf, tanf and acosf that give the same bits on every platform and compiler
 * (musl's, in musl/), for every result that reaches the game's state. The C library's
 * differ in their last bits from one system to the next, and a replay with them. */
#ifndef VELMORA_PORTABLE_MATH_H
#define VELMORA_PORTABLE_MATH_H

#ifdef __cplusplus
extern "C" {
#endif

float portable_sinf(float x);
float portable_cosf(float x);
float portable_tanf(float x);
float portable_acosf(float x);

#ifdef __cplusplus
}
#endif

#endif
