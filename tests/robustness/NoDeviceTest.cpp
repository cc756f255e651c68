// Machines missing a device: no sound card gives a silent but whole play; no display, or
// a display whose OpenGL is older than 3.3, gives the start-up failure on standard error
// (nobody is there to answer a box) and a clean exit.
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Settings.h>
#include <velmora/Platform.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ScriptedPlay.h"
#include "SceneManager.h"

namespace headless = velmora::headless;

namespace robustness {
namespace {

const char* const kDeviceFailure = "Direct3D initialization error";  // the game's box, in English

class NoDevice : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        resetHeadlessPlatform();
        velmora::settings().language = velmora::LanguageChoice::English;
    }
    void TearDown() override {
        velmora::selectBackend(velmora::Backend::Headless);
        resetHeadlessPlatform();
        velmora::settings().language = velmora::LanguageChoice::Auto;
    }

    // Runs WinMain on the real backend with no answers queued, as a player starting the
    // game would, and returns what it wrote to standard error.
    std::string startOnRealBackend(int& exitCode, int& frames) {
        velmora::selectBackend(velmora::Backend::Real);
        headless::resetWin32();
        frames = 0;
        headless::onFrame([&](int) {
            ++frames;
            headless::setKeyDown(VK_ESCAPE, true);
        });
        ::testing::internal::CaptureStderr();
        exitCode = WinMain(nullptr, nullptr, nullptr, 0);
        std::string written = ::testing::internal::GetCapturedStderr();
        headless::onFrame(nullptr);
        return written;
    }
};

TEST_F(NoDevice, WithoutASoundCardThePlayIsSilentButWhole) {
    velmora::audio::useNoAudioDevice();
    PlayOutcome outcome = playThroughWinMain(2000, 777u, scriptedPlayInput);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.framesRun, 2000);
    EXPECT_TRUE(outcome.reachedPlay);
    EXPECT_EQ(outcome.firstNonFiniteFrame, -1) << outcome.nonFiniteWhat;
    EXPECT_EQ(velmora::audio::liveDevices(), 0u);
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
    EXPECT_EQ(velmora::audio::playCalls(), 0u);
}

TEST_F(NoDevice, WithoutADisplayTheFailureIsWrittenToStandardError) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    int exitCode = -1;
    int frames = -1;
    std::string written = startOnRealBackend(exitCode, frames);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(frames, 0);
    EXPECT_NE(written.find(kDeviceFailure), std::string::npos) << "standard error was:\n" << written;
    EXPECT_EQ(g_sceneManager, nullptr);
}

// Mesa caps the OpenGL version it offers at 3.0: the core 3.3 context the device needs
// cannot be made on an otherwise working (offscreen) display.
TEST_F(NoDevice, WithoutOpenGL33TheFailureIsWrittenToStandardError) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
    velmora::allowOffscreenVideo(true);
    int exitCode = -1;
    int frames = -1;
    std::string written = startOnRealBackend(exitCode, frames);
    velmora::allowOffscreenVideo(false);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(frames, 0);
    EXPECT_NE(written.find(kDeviceFailure), std::string::npos) << "standard error was:\n" << written;
    EXPECT_NE(written.find("no OpenGL 3.3"), std::string::npos) << "the reason, for the player:\n" << written;
    EXPECT_EQ(g_sceneManager, nullptr);
}

}  // namespace
}  // namespace robustness
