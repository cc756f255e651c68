#include "PlayerTestSupport.h"

#include <velmora/HeadlessInput.h>

#include "Graphics.h"
#include "Player.h"
#include "SpiderLine.h"
#include "TestCamera.h"

namespace headless = velmora::headless;

namespace gametest {

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

void PlayerWorld::SetUp() {
    GameFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(startWorld());
    ASSERT_NO_FATAL_FAILURE(loadArena());
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

}  // namespace gametest
