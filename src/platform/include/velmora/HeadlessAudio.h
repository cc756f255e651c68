// Test control of DirectSound (tests and tools only; the game never includes this).
//
// Every secondary buffer the game creates is listed with its state, in both backends:
//   auto buffers = velmora::audio::liveBuffers();
//   auto music = velmora::audio::waveDataTag("data/Sound/BGM/Title.wav");
//   // find the buffer whose dataTag == music, check playing && looping
// In the headless backend a playing buffer's cursor advances with the virtual clock
// (Sleep / velmora::headless::advanceClock). In the real backend tests can render what a
// player would hear, deterministically and without a sound card:
//   velmora::audio::useLoopbackDevice(44100);   // before the first DirectSoundCreate8
//   ... create and play buffers ...
//   std::vector<float> mix = velmora::audio::renderMix(4410);  // 0.1 s, stereo
#pragma once

#include <windows.h>
#include <dsound.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::audio {

struct BufferState {
    unsigned id;                  // creation order since the last reset, from 1
    IDirectSoundBuffer8* buffer;  // the pointer the game holds
    bool playing;
    bool looping;                 // only while playing
    DWORD cursor;                 // play cursor in bytes
    DWORD dataSize;               // bytes
    unsigned dataId;              // equal for a buffer and its duplicates (shared data)
    uint64_t dataTag;             // hash of the bytes: compare with waveDataTag / dataTag
    WORD channels;
    WORD bitsPerSample;
    DWORD sampleRate;             // of the format
    DWORD frequency;              // playback rate (SetFrequency)
    LONG volume;                  // 1/100 dB
    bool control3D;               // created with DSBCAPS_CTRL3D
    DWORD mode3D;                 // DS3DMODE_*
    float position[3];            // as the game set it (left-handed)
    unsigned playCalls;           // Play calls on this buffer
};

// Buffers whose device is still alive, oldest first. Released buffers are gone.
std::vector<BufferState> liveBuffers();
// The state of the buffer behind a buffer or 3D-buffer interface, if it is live.
std::optional<BufferState> stateOf(const IUnknown* bufferOr3DBuffer);
// Play calls on secondary buffers since the last reset.
unsigned playCalls();
// IDirectSound8 objects alive.
unsigned liveDevices();
// Buffers holding a voice (an OpenAL source in the real backend); at most 256 at once.
unsigned voicesInUse();

uint64_t dataTag(const void* bytes, std::size_t size);
// The tag of a WAVE file's "data" chunk, or 0 when the file cannot be read as one.
uint64_t waveDataTag(const char* path);

// Each of these starts over as resetAudio does, then sets what the next
// DirectSoundCreate8 opens. Real backend: OpenAL Soft's loopback device, rendered only
// by renderMix, at `sampleRate` frames per second, stereo float.
void useLoopbackDevice(unsigned sampleRate);
// As on a machine without a sound card: DirectSoundCreate8 fails (in the real backend
// OpenAL is asked for an output device that does not exist).
void useNoAudioDevice();
// Renders the next `frames` frames of the loopback mix: interleaved left/right samples
// (1.0 = full scale). Empty unless the loopback device is open.
std::vector<float> renderMix(std::size_t frames);

// Stops and forgets every buffer, closes the audio output, zeroes the counters and goes
// back to the default output. Release the game's sound objects first. Changing the
// backend (velmora::selectBackend) between DirectSoundCreate8 calls does the same.
void resetAudio();

}  // namespace velmora::audio
