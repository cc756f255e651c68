// The one place a backend is chosen: each family gets the object of the chosen backend
// behind its small interface (the window system's desktop, the Direct3D adapter, the
// DirectSound output). A further backend is a folder per family beside these and a case
// here.
#include "velmora/Platform.h"

#include "d3d9/gl/GlAdapter.h"
#include "d3d9/headless/HeadlessAdapter.h"
#include "dsound/headless/ClockOutput.h"
#include "dsound/openal/AlOutput.h"
#include "win32/headless/HeadlessDesktop.h"
#include "win32/sdl/SdlDesktop.h"
#include "win32/sdl/Utf8Locale.h"
#ifdef __EMSCRIPTEN__
#include "win32/web/PageDesktop.h"
#endif

namespace velmora {

namespace {

struct BackendParts {
    win32::Desktop& desktop;
    d3d9::Adapter& adapter;
    dsound::AudioOutput& output;
};

// Made on first use and never destroyed: buffers and windows may still be released after
// main returns, and the sound system closes its output at exit.
BackendParts realParts() {
#ifdef __EMSCRIPTEN__
    static auto* desktop = new win32::PageDesktop;
#else
    static auto* desktop = new win32::SdlDesktop;
#endif
    static auto* adapter = new d3d9::GlAdapter;
    static auto* output = new dsound::AlOutput;
    desktop->useSoundControls([](bool paused) { output->pauseAll(paused); }, [] { output->applyVolume(); });
    win32::useUtf8TextLocale();
    return {*desktop, *adapter, *output};
}

BackendParts headlessParts() {
    static auto* desktop = new win32::HeadlessDesktop;
    static auto* adapter = new d3d9::HeadlessAdapter;
    static auto* output = new dsound::ClockOutput;
    return {*desktop, *adapter, *output};
}

}  // namespace

void selectBackend(Backend backend) {
    BackendParts parts = backend == Backend::Headless ? headlessParts() : realParts();
    win32::useDesktop(parts.desktop);
    d3d9::useAdapter(parts.adapter);
    dsound::useAudioOutput(parts.output);
}

}  // namespace velmora
