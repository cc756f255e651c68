#include "EnemyTestSupport.h"

#include <cmath>
#include <cstdlib>

#include "Graphics.h"
#include "Player.h"
#include "TestCamera.h"

namespace gametest {

float headingOf(const D3DXMATRIX& world) {
    return static_cast<float>(std::atan2(static_cast<double>(world._31), static_cast<double>(world._33)) * 180.0 /
                              3.14159265358979);
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
    GameFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(startWorld());
    ASSERT_NO_FATAL_FAILURE(loadArena());
    std::srand(1);
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

}  // namespace gametest
