// Start-up (the display question, the device, the effect) and shut-down of the game.
#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <cmath>
#include <cstdlib>

#include "Application.h"
#include "GameFixture.h"
#include "Graphics.h"
#include "Mesh.h"
#include "TestFiles.h"

namespace headless = velmora::headless;

namespace {

const char* const kQuestion = "フルスクリーンにしますか？";

// Runs the game for one frame and records the device's present parameters while it is up.
struct OneFrameRun {
    int result = -1;
    D3DPRESENT_PARAMETERS presentParams{};
    bool deviceWasUp = false;
};

}  // namespace

class StartUpTest : public gametest::GameFixture {
protected:
    OneFrameRun runOneFrame() {
        OneFrameRun run;
        run.result = runWinMain([&](int frame) {
            if (frame == 0) {
                run.deviceWasUp = Graphics::get().device != nullptr;
                run.presentParams = Graphics::get().presentParams;
                headless::setKeyDown(VK_ESCAPE, true);
            }
        });
        return run;
    }
};

TEST_F(StartUpTest, TheDefaultAnswerGivesAWindowedDeviceOfTheClientSize) {
    OneFrameRun run = runOneFrame();  // no answer queued: the box's default button
    EXPECT_EQ(run.result, 0);

    const auto& boxes = headless::messageBoxesShown();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kQuestion);
    EXPECT_EQ(boxes[0].caption, "確認");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(boxes[0].answer, IDNO);
    EXPECT_EQ(boxes.size(), 1u) << "no other box on a good start-up";

    ASSERT_TRUE(run.deviceWasUp);
    EXPECT_TRUE(run.presentParams.Windowed);
    EXPECT_EQ(run.presentParams.BackBufferWidth, 1280u);
    EXPECT_EQ(run.presentParams.BackBufferHeight, 720u);
    EXPECT_EQ(Application::get().clientWidth, 1280);
    EXPECT_EQ(Application::get().clientHeight, 720);
}

TEST_F(StartUpTest, AnsweringYesGivesAFullScreenDevice) {
    headless::queueMessageBoxAnswer(IDYES);
    OneFrameRun run = runOneFrame();
    EXPECT_EQ(run.result, 0);
    ASSERT_TRUE(run.deviceWasUp);
    EXPECT_FALSE(run.presentParams.Windowed);
    EXPECT_EQ(run.presentParams.BackBufferWidth, 1280u);
    EXPECT_EQ(run.presentParams.BackBufferHeight, 720u);
    EXPECT_EQ(run.presentParams.BackBufferFormat, D3DFMT_X8R8G8B8);
}

TEST_F(StartUpTest, TheDefaultLightShinesUntilAPlaySetsItsOwn) {
    ASSERT_TRUE(startApplication());
    IDirect3DDevice9* device = Graphics::get().device;
    BOOL enabled = FALSE;
    device->GetLightEnable(0, &enabled);
    EXPECT_TRUE(enabled);
    D3DLIGHT9 light;
    ASSERT_EQ(Graphics::get().getLight(&light, 0), &light);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    const float length = std::sqrt(0.5f * 0.5f + 1.0f + 0.3f * 0.3f);
    EXPECT_NEAR(light.Direction.x, 0.5f / length, 1e-5);
    EXPECT_NEAR(light.Direction.y, -1.0f / length, 1e-5);
    EXPECT_NEAR(light.Direction.z, 0.3f / length, 1e-5);
    EXPECT_FLOAT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(light.Ambient.r, 0.0f);
    EXPECT_FLOAT_EQ(light.Ambient.a, 1.0f);
}

TEST_F(StartUpTest, SetDirectionalLightNormalisesAndKeepsTheColoursApart) {
    ASSERT_TRUE(startApplication());
    D3DXVECTOR3 direction(3.0f, -4.0f, 0.0f);
    D3DCOLORVALUE diffuse = {1.0f, 0.5f, 0.25f, 1.0f};
    D3DCOLORVALUE ambient = {0.3f, 0.3f, 0.3f, 0.0f};
    D3DCOLORVALUE specular = {0.9f, 0.8f, 0.7f, 0.0f};
    Graphics::get().setDirectionalLight(2, &direction, &diffuse, &ambient, &specular);

    D3DLIGHT9 light;
    Graphics::get().getLight(&light, 2);
    EXPECT_NEAR(light.Direction.x, 0.6f, 1e-6);
    EXPECT_NEAR(light.Direction.y, -0.8f, 1e-6);
    EXPECT_FLOAT_EQ(light.Diffuse.g, 0.5f);
    EXPECT_FLOAT_EQ(light.Ambient.r, 0.3f);
    EXPECT_FLOAT_EQ(light.Specular.b, 0.7f);
    EXPECT_FLOAT_EQ(light.Range, 0.0f);
    BOOL enabled = FALSE;
    Graphics::get().device->GetLightEnable(2, &enabled);
    EXPECT_TRUE(enabled);
}

TEST_F(StartUpTest, AShaderThatFailsToCompileIsReportedAndTheGameRunsOnWithoutMeshes) {
    TempDir folder;
    folder.write("Shader/Sample.fx", std::string("this is not an effect {\n"));
    ScopedWorkingDirectory inFolder(folder.path());

    int frames = 0;
    int result = runWinMain([&](int frame) {
        frames = frame + 1;
        if (frame == 30) headless::setKeyDown(VK_ESCAPE, true);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(frames, 31) << "start-up went on and the title ran";

    const auto& boxes = headless::messageBoxesShown();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "シェーダコンパイルエラー");
    EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(boxes[1].text.empty()) << "the compiler's own message is shown";
}

TEST_F(StartUpTest, WithoutAnEffectALoadedMeshDrawsNothing) {
    TempDir folder;
    folder.write("Shader/Sample.fx", std::string("broken"));
    std::string quad = folder.write("quad.x", twoMaterialQuad("none.png"));
    ScopedWorkingDirectory inFolder(folder.path());
    ASSERT_TRUE(startApplication());
    ASSERT_EQ(Application::get().modelEffect.effect, nullptr);
    EXPECT_EQ(Application::get().modelEffect.whiteTexture.texture, nullptr);

    Mesh model;
    ASSERT_TRUE(model.load(Graphics::get().device, quad.c_str()));
    ASSERT_EQ(model.materialCount, 2u);
    unsigned long before = velmora::drawLog().total(velmora::DrawKind::IndexedPrimitive);
    Application::get().modelEffect.drawMesh(model);
    EXPECT_EQ(velmora::drawLog().total(velmora::DrawKind::IndexedPrimitive), before);
}

// The real backend without any display cannot make a device: the path a player without
// working graphics takes.
TEST_F(StartUpTest, ADeviceThatCannotBeMadeIsReportedAndTheProgramEndsWithZero) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    velmora::selectBackend(velmora::Backend::Real);
    headless::resetWin32();
    for (int answer : {IDNO, IDOK, IDOK}) headless::queueMessageBoxAnswer(answer);

    int frames = 0;
    int result = runWinMain([&](int) { ++frames; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(frames, 0) << "no frame loop";
    EXPECT_EQ(g_sceneManager, nullptr) << "nothing created after the failure";
    EXPECT_EQ(velmora::audio::liveDevices(), 0u);

    const auto& boxes = headless::messageBoxesShown();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes.front().text, kQuestion);
    EXPECT_EQ(boxes.back().text, "Direct3D初期化ミス");
    EXPECT_EQ(boxes.back().caption, "");
    EXPECT_EQ(boxes.back().type, static_cast<UINT>(MB_OK));
    if (boxes.size() == 3) {
        // Every device type was tried and refused.
        EXPECT_EQ(boxes[1].text, "Direct3Dの初期化に失敗");
        EXPECT_EQ(boxes[1].caption, "Direct3D初期化");
        EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
    velmora::selectBackend(velmora::Backend::Headless);
}

TEST_F(StartUpTest, ShutDownReleasesEverythingInOrder) {
    int result = runWinMain([&](int frame) {
        if (frame == 5) headless::setKeyDown(VK_ESCAPE, true);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_sceneManager, nullptr);
    EXPECT_EQ(Application::get().modelEffect.effect, nullptr);
    EXPECT_EQ(Application::get().modelEffect.whiteTexture.texture, nullptr);
    EXPECT_EQ(Graphics::get().sprite, nullptr);
    EXPECT_EQ(Graphics::get().device, nullptr);
    EXPECT_EQ(Graphics::get().d3d, nullptr);
    // The title's sound work was bracketed by CoInitialize / CoUninitialize.
    EXPECT_EQ(headless::comInitCount(), 0);
    // The cursor stayed hidden for the whole run.
    EXPECT_LT(headless::cursorShowCount(), 0);
}
