#include "AlOutput.h"

#include "AlVoice.h"
#include "velmora/Language.h"
#include "velmora/Settings.h"

#include <cstdio>
#include <cstdlib>

#ifdef __linux__
#include <dlfcn.h>
#endif

namespace velmora::dsound {

namespace {
// No OpenAL backend offers a device by this name.
constexpr const char* kMissingDeviceName = "Velmora: no audio device";

#ifdef __linux__
extern "C" void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

// A machine without sound would get lines of OpenAL Soft's and ALSA's own on the terminal
// at every start; the game says it once in its own words. A player who set OpenAL's log
// level wants the libraries' words.
void quietenSoundLibraries() {
    if (std::getenv("ALSOFT_LOGLEVEL")) return;
#ifdef _WIN32
    _putenv_s("ALSOFT_LOGLEVEL", "0");
#else
    setenv("ALSOFT_LOGLEVEL", "0", 0);
#endif
#ifdef __linux__
    // OpenAL Soft opens this same library for its ALSA backend; it stays loaded.
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL))
        if (auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler")))
            setHandler(ignoreAlsaError);
#endif
}
}  // namespace

AlOutput::~AlOutput() { close(); }

bool AlOutput::open(OutputKind kind, unsigned loopbackRate) {
    if (isOpen()) return true;
    ++opening_;
    if (kind == OutputKind::Loopback) return openLoopback(loopbackRate);

    quietenSoundLibraries();
    device_ = alcOpenDevice(kind == OutputKind::Missing ? kMissingDeviceName : nullptr);
    if (!device_) {
        if (kind == OutputKind::DefaultDevice)
            std::fputs(localized("velmora: no sound device could be opened; playing without sound\n").c_str(), stderr);
        return false;
    }
    context_ = alcCreateContext(device_, nullptr);
    if (!context_ || !alcMakeContextCurrent(context_)) {
        close();
        return false;
    }
    applyVolume();
    return true;
}

bool AlOutput::openLoopback(unsigned rate) {
    auto openLoopbackDevice =
        reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopbackDevice || !renderSamples_) return false;
    device_ = openLoopbackDevice(nullptr);
    if (!device_) return false;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY, static_cast<ALCint>(rate), 0};
    context_ = alcCreateContext(device_, attributes);
    if (!context_ || !alcMakeContextCurrent(context_)) {
        close();
        return false;
    }
    return true;
}

void AlOutput::close() {
    if (context_) {
        if (!allSources_.empty()) alDeleteSources(static_cast<ALsizei>(allSources_.size()), allSources_.data());
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_) alcCloseDevice(device_);
    device_ = nullptr;
    context_ = nullptr;
    renderSamples_ = nullptr;
    freeSources_.clear();
    allSources_.clear();
    pausedSources_.clear();
}

bool AlOutput::acquireSource(ALuint& source) {
    if (!isOpen()) return false;
    if (freeSources_.empty()) {
        if (allSources_.size() >= kMaxVoices) return false;
        alGetError();
        ALuint made = 0;
        alGenSources(1, &made);
        if (alGetError() != AL_NO_ERROR) return false;
        allSources_.push_back(made);
        freeSources_.push_back(made);
    }
    source = freeSources_.back();
    freeSources_.pop_back();
    return true;
}

std::unique_ptr<Voice> AlOutput::startVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor, bool looping,
                                            const VoiceParams& params) {
    ALuint source = 0;
    if (!acquireSource(source)) return nullptr;
    return std::make_unique<AlVoice>(*this, source, data, cursor, looping, params);
}

void AlOutput::releaseSource(ALuint source) { freeSources_.push_back(source); }

void AlOutput::setListenerGain(float gain) {
    gameGain_ = gain;
    applyVolume();
}

void AlOutput::applyVolume() {
    if (isOpen()) alListenerf(AL_GAIN, gameGain_ * static_cast<float>(settings().volume) / 100.0f);
}

void AlOutput::pauseAll(bool paused) {
    if (!isOpen()) return;
    // One source at a time: the browser's OpenAL takes a list's ids for sources, which
    // throws on play and does nothing on pause.
    if (!paused) {
        for (ALuint source : pausedSources_) alSourcePlay(source);
        pausedSources_.clear();
        return;
    }
    for (ALuint source : allSources_) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) {
            alSourcePause(source);
            pausedSources_.push_back(source);
        }
    }
}

std::vector<float> AlOutput::render(std::size_t frames) {
    std::vector<float> samples;
    if (!isOpen() || !renderSamples_) return samples;
    samples.resize(frames * 2);
    renderSamples_(device_, samples.data(), static_cast<ALCsizei>(frames));
    return samples;
}

}  // namespace velmora::dsound
