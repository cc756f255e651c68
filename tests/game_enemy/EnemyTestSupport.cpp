#include "EnemyTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <ostream>

#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include "Application.h"
#include "ComRelease.h"
#include "Graphics.h"
#include "Player.h"
#include "Stage.h"
#include "SubField.h"
#include "TestCamera.h"

namespace headless = velmora::headless;

namespace enemytest {

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

float headingOf(const D3DXMATRIX& world) {
    return static_cast<float>(std::atan2(static_cast<double>(world._31), static_cast<double>(world._33)) * 180.0 /
                              3.14159265358979);
}

float wrap(float degrees) {
    while (degrees >= 180.0f) degrees -= 360.0f;
    while (degrees < -180.0f) degrees += 360.0f;
    return degrees;
}

bool isPlaying(IDirectSoundBuffer8* buffer) {
    if (!buffer) return false;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state && state->playing;
}

unsigned playCallsOf(IDirectSoundBuffer8* buffer) {
    if (!buffer) return 0;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state ? state->playCalls : 0;
}

std::vector<const velmora::DrawRecord*> quadsWith(const velmora::DrawFrame& frame, IDirect3DTexture9* texture) {
    std::vector<const velmora::DrawRecord*> found;
    for (const velmora::DrawRecord& record : frame) {
        if (record.kind == velmora::DrawKind::PrimitiveUP && record.texture == texture) found.push_back(&record);
    }
    return found;
}

int cellOf(const velmora::DrawRecord& quad) {
    const int column = static_cast<int>(std::lround(quad.vertices[0].u / 0.125f));
    const int row = static_cast<int>(std::lround(quad.vertices[0].v / 0.125f));
    return row * 8 + column;
}

std::vector<const velmora::DrawRecord*> spritesOf(const velmora::DrawFrame& frame) {
    std::vector<const velmora::DrawRecord*> found;
    for (const velmora::DrawRecord& record : frame) {
        if (record.kind == velmora::DrawKind::Sprite) found.push_back(&record);
    }
    return found;
}

unsigned seedWhere(bool (*accept)(), unsigned from) {
    for (unsigned seed = from; seed < from + 100000; ++seed) {
        std::srand(seed);
        if (accept()) {
            std::srand(seed);
            return seed;
        }
    }
    ADD_FAILURE() << "no seed gives the wanted random choice";
    return from;
}

void EnemyTest::SetUp() {
    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
    headless::queueMessageBoxAnswer(IDNO);  // windowed
    ASSERT_TRUE(Application::get().create(nullptr, 1280, 720));
    g_sceneManager = new SceneManager();
    g_subField.Load();
    ASSERT_NE(g_subField.mesh.mesh, nullptr) << "run from the game's folder with the generated data";
    Graphics& graphics = Graphics::get();
    const float aspect = static_cast<float>(graphics.presentParams.BackBufferWidth) /
                         static_cast<float>(graphics.presentParams.BackBufferHeight);
    D3DXMatrixPerspectiveFovLH(&g_stage.projection, 1.0471976f, aspect, 2.01f, 180.0f);
    graphics.device->SetTransform(D3DTS_PROJECTION, &g_stage.projection);
    std::srand(1);
}

void EnemyTest::TearDown() {
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

void EnemyTest::addCameraAndPlayer(float x, float y, float z) {
    camera = add(new TestCamera());
    player = add(new Player());
    place(player, x, y, z);
}

void EnemyTest::frame(std::initializer_list<CharaBase*> updated, std::initializer_list<CharaBase*> drawn) {
    for (CharaBase* object : updated) object->Update();
    IDirect3DDevice9* device = Graphics::get().device;
    device->BeginScene();
    for (CharaBase* object : drawn) object->Draw();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

void EnemyTest::frameAll() {
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->Update();
    IDirect3DDevice9* device = Graphics::get().device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->Draw();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

void EnemyTest::updateOnly(std::initializer_list<CharaBase*> updated) {
    for (CharaBase* object : updated) object->Update();
    Graphics::get().device->Present(nullptr, nullptr, nullptr, nullptr);
}

void EnemyTest::drawOnly(CharaBase* object) {
    IDirect3DDevice9* device = Graphics::get().device;
    device->BeginScene();
    object->Draw();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

}  // namespace enemytest

void PrintTo(const D3DXVECTOR3& v, std::ostream* out) { *out << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }
