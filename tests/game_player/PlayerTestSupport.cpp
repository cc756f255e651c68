#include "PlayerTestSupport.h"

#include <ostream>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include "Application.h"
#include "ComRelease.h"
#include "Graphics.h"
#include "Player.h"
#include "SpiderLine.h"
#include "Stage.h"
#include "SubField.h"
#include "TestCamera.h"

namespace headless = velmora::headless;

namespace playertest {

StillFly::StillFly(float x, float y, float z) : DragonFly(0.05f) {
    place(this, x, y, z);
    Active = 1;
    Dead = 0;
    Caught = 0;
}

void StillFly::OnHit(CharaBase* by) {
    ++hits;
    DragonFly::OnHit(by);
}

void StillFly::OnCaught(CharaBase* line) {
    ++catches;
    DragonFly::OnCaught(line);
}

D3DXVECTOR3 positionOf(const D3DXMATRIX& m) { return D3DXVECTOR3(m._41, m._42, m._43); }

D3DXMATRIX translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

void place(CharaBase* object, float x, float y, float z) {
    object->TransMatrix = translation(x, y, z);
    object->WorldMatrix = object->TransMatrix;
}

unsigned playCallsOf(IDirectSoundBuffer8* buffer) {
    if (!buffer) return 0;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state ? state->playCalls : 0;
}

bool isPlaying(IDirectSoundBuffer8* buffer) {
    if (!buffer) return false;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state && state->playing;
}

void GameFixture::SetUp() {
    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
    headless::queueMessageBoxAnswer(IDNO);  // windowed
    ASSERT_TRUE(Application::get().create(nullptr, 1280, 720));
    g_sceneManager = new SceneManager();
}

void GameFixture::TearDown() {
    headless::onFrame(nullptr);
    if (g_sceneManager) {
        for (CharaBase* object : objects()) delete object;
        objects().clear();
        delete g_sceneManager;
        g_sceneManager = nullptr;
    }
    g_subField.Release();
    Application& application = Application::get();
    releaseInterface(application.modelEffect.effect);
    application.modelEffect.whiteTexture.release();
    Graphics::get().release();
    velmora::audio::resetAudio();
    headless::resetWin32();
}

void PlayerWorld::SetUp() {
    GameFixture::SetUp();
    g_subField.Load();
    ASSERT_NE(g_subField.mesh.mesh, nullptr) << "run from the game's folder with the generated data";
    // The projection the Stage sets up, which the lock-on marker projects with.
    Graphics& graphics = Graphics::get();
    const float aspect = static_cast<float>(graphics.presentParams.BackBufferWidth) /
                         static_cast<float>(graphics.presentParams.BackBufferHeight);
    D3DXMatrixPerspectiveFovLH(&g_stage.projection, 1.0471976f, aspect, 2.01f, 180.0f);
    graphics.device->SetTransform(D3DTS_PROJECTION, &g_stage.projection);

    camera = add(new TestCamera());
    player = add(new Player());
    line = add(new SpiderLine());
}

int PlayerWorld::indexOf(const CharaBase* object) const {
    const ObjectList& list = g_sceneManager->objects;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == object) return static_cast<int>(i);
    }
    return -1;
}

void PlayerWorld::update() {
    for (size_t i = 0; i < objects().size(); ++i) {
        if (objects()[i]->Kind != KIND_DRAGONFLY) objects()[i]->Update();
    }
}

void PlayerWorld::draw() {
    IDirect3DDevice9* device = Graphics::get().device;
    device->Present(nullptr, nullptr, nullptr, nullptr);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->Draw();
    device->EndScene();
}

void PlayerWorld::drawOnly(CharaBase* object) {
    IDirect3DDevice9* device = Graphics::get().device;
    device->Present(nullptr, nullptr, nullptr, nullptr);
    device->BeginScene();
    object->Draw();
    device->EndScene();
}

void PlayerWorld::frame() {
    update();
    draw();
}

void PlayerWorld::frames(int count) {
    for (int i = 0; i < count; ++i) frame();
}

void PlayerWorld::standAt(float x, float y, float z) {
    player->TransMatrix = translation(x, y, z);
    player->FallSpeed = 0.0f;
    float lastHeight = y;
    for (int i = 0; i < 400; ++i) {
        frame();
        const float height = player->TransMatrix._42;
        if (i > 1 && player->Falling == 0 && height == lastHeight) return;
        lastHeight = height;
    }
    ADD_FAILURE() << "the player never came to rest";
}

void PlayerWorld::look(int dx, int dy) {
    headless::moveMouse(dx, dy);
    frame();
}

void PlayerWorld::click() {
    headless::setKeyDown(VK_LBUTTON, true);
    frame();
    headless::setKeyDown(VK_LBUTTON, false);
    frame();
}

}  // namespace playertest

void PrintTo(const D3DXVECTOR3& v, std::ostream* out) { *out << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }
