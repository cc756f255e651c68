// The browser's OpenAL (emscripten's, on Web Audio) ships no alext.h. These are the
// OpenAL Soft extension names the output refers to; the browser offers neither the
// loopback device (its alcGetProcAddress finds no such function) nor direct channels.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#define AL_DIRECT_CHANNELS_SOFT 0x1033
#define ALC_FORMAT_CHANNELS_SOFT 0x1990
#define ALC_FORMAT_TYPE_SOFT 0x1991
#define ALC_FLOAT_SOFT 0x1406
#define ALC_STEREO_SOFT 0x1501
typedef ALCdevice*(*LPALCLOOPBACKOPENDEVICESOFT)(const ALCchar*);
typedef void(*LPALCRENDERSAMPLESSOFT)(ALCdevice*, ALCvoid*, ALCsizei);
