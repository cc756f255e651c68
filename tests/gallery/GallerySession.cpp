#include "GallerySession.h"

#include <gtest/gtest.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <cstdlib>
#include <filesystem>

#include "Application.h"
#include "Graphics.h"
#include "MeshShelf.h"

namespace gallery {
namespace {

bool g_ready = false;

class GalleryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::filesystem::current_path(VELMORA_RUN_DIR);
        std::filesystem::create_directories(VELMORA_GALLERY_DIR);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        velmora::selectBackend(velmora::Backend::Real);
        velmora::allowOffscreenVideo(true);
        velmora::headless::resetWin32();
        velmora::headless::queueMessageBoxAnswer(IDNO);  // windowed
        if (!Application::get().create(nullptr, 1280, 720)) return;
        ASSERT_NE(Application::get().modelEffect.effect, nullptr) << "Shader/Sample.fx did not compile";
        g_ready = true;
    }

    void TearDown() override {
        MeshShelf::clear();
        ModelEffect& effect = Application::get().modelEffect;
        effect.whiteTexture.release();
        if (effect.effect) effect.effect->Release();
        effect.effect = nullptr;
        Graphics::get().release();
        velmora::headless::resetWin32();
        velmora::allowOffscreenVideo(false);
        g_ready = false;
    }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new GalleryEnvironment);

}  // namespace

bool GallerySession::ready() { return g_ready; }

std::string GallerySession::picturePath(const std::string& name) {
    return std::string(VELMORA_GALLERY_DIR) + "/" + name + ".png";
}

}  // namespace gallery
