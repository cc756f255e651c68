#include "Stage.h"

#include <cstdlib>

#include <mmsystem.h>

#include "Application.h"
#include "DragonFly.h"
#include "GameHelpers.h"
#include "Graphics.h"
#include "Lift.h"
#include "PillBugs.h"
#include "Player.h"
#include "RopeObj.h"
#include "SpiderLine.h"
#include "SubField.h"
#include "TestCamera.h"

Stage g_stage;

namespace {

// On average one new dragonfly every this many frames.
const int DRAGONFLY_CHANCE = 250;

struct LiftPlacement {
    D3DXVECTOR3 position;
    D3DXVECTOR3 axis;
    int reverse;
    float scale;
    int legFrames;
};

const LiftPlacement LIFTS[] = {
    {D3DXVECTOR3(-33.0f, 72.0f, 0.0f), D3DXVECTOR3(1.0f, 0.0f, 0.0f), 0, 1.5f, 650},
    {D3DXVECTOR3(20.0f, 84.0f, 29.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f), 0, 1.5f, 300},
    {D3DXVECTOR3(16.0f, 92.0f, 81.0f), D3DXVECTOR3(0.0f, 1.0f, 0.0f), 1, 1.5f, 310},
    {D3DXVECTOR3(9.0f, 40.0f, 81.0f), D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0, 1.5f, 310},
};

struct RopePlacement {
    D3DXVECTOR3 position;
    float rollDeg;
    float yawDeg;
};

const RopePlacement ROPES[] = {
    {D3DXVECTOR3(36.0f, 22.0f, -113.0f), 0.0f, 0.0f},   {D3DXVECTOR3(2.5f, 36.0f, -149.0f), 0.0f, 90.0f},
    {D3DXVECTOR3(-34.0f, 50.0f, -122.0f), 0.0f, 180.0f}, {D3DXVECTOR3(-6.0f, 66.0f, -78.0f), 0.0f, 270.0f},
    {D3DXVECTOR3(-18.0f, 65.0f, -36.0f), 0.0f, 90.0f},   {D3DXVECTOR3(36.0f, 100.0f, 72.0f), 0.0f, 0.0f},
    {D3DXVECTOR3(-25.0f, 110.0f, 75.0f), 90.0f, 90.0f},  {D3DXVECTOR3(-45.0f, 110.0f, 75.0f), 90.0f, 90.0f},
    {D3DXVECTOR3(-65.0f, 110.0f, 75.0f), 90.0f, 90.0f},  {D3DXVECTOR3(-85.0f, 110.0f, 75.0f), 90.0f, 90.0f},
    {D3DXVECTOR3(-85.0f, 110.0f, 44.0f), 90.0f, 0.0f},
};

const float FIELD_OF_VIEW = 1.0471976f;  // pi / 3
const float NEAR_PLANE = 2.01f;
const float FAR_PLANE = 180.0f;

}  // namespace

using game::objects;

Stage::Stage()
    : spawnPos(0.0f, 0.0f, 0.0f), liftReverse(0), liftSpare(1), liftScale(0.0f), liftTravelFrames(0),
      ropeYawDeg(0.0f), ropeRollDeg(0.0f), liftDirection(0.0f, 0.0f, 0.0f), cleared(0), finished(0) {
    D3DXMatrixIdentity(&projection);
    D3DXMatrixIdentity(&view);
}

void Stage::spawnDragonFly() {
    // Speed 0.03 to 0.09 per frame.
    const float speed = static_cast<float>((std::rand() % 7 + 3) / 100.0);
    objects().push_back(new DragonFly(speed));
}

void Stage::init() {
    std::srand(timeGetTime());

    objects().push_back(new TestCamera());
    spawnDragonFly();
    objects().push_back(new PillBugs());
    objects().push_back(new Player());
    objects().push_back(new SpiderLine());
    for (const LiftPlacement& lift : LIFTS) {
        spawnPos = lift.position;
        liftDirection = lift.axis;
        liftReverse = lift.reverse;
        liftScale = lift.scale;
        liftTravelFrames = lift.legFrames;
        objects().push_back(
            new Lift(&spawnPos, &liftDirection, &liftReverse, &liftSpare, &liftScale, &liftTravelFrames));
    }
    for (const RopePlacement& rope : ROPES) {
        spawnPos = rope.position;
        ropeRollDeg = rope.rollDeg;
        ropeYawDeg = rope.yawDeg;
        objects().push_back(new RopeObj(&spawnPos, &ropeRollDeg, &ropeYawDeg));
    }

    g_subField.Load();

    Graphics& graphics = Graphics::get();
    const D3DXVECTOR3 lightDirection(1.0f, -1.0f, 0.0f);
    const D3DCOLORVALUE diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    const D3DCOLORVALUE ambient = {0.3f, 0.3f, 0.3f, 0.0f};
    const D3DCOLORVALUE specular = {1.0f, 1.0f, 1.0f, 0.0f};
    graphics.setDirectionalLight(0, &lightDirection, &diffuse, &ambient, &specular);

    const float aspect = static_cast<float>(graphics.presentParams.BackBufferWidth) /
                         static_cast<float>(graphics.presentParams.BackBufferHeight);
    D3DXMatrixPerspectiveFovLH(&projection, FIELD_OF_VIEW, aspect, NEAR_PLANE, FAR_PLANE);
    graphics.device->SetTransform(D3DTS_PROJECTION, &projection);

    finished = 0;
}

void Stage::update() {
    if (std::rand() % DRAGONFLY_CHANCE == 0) spawnDragonFly();
    // The size is re-read every step: an object appended now is updated this frame.
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->Update();
}

void Stage::draw() {
    Graphics& graphics = Graphics::get();
    IDirect3DDevice9* device = graphics.device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
    device->BeginScene();

    g_subField.Draw();
    // The camera may end the play from its Draw and empty the list: re-read the size.
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->Draw();

    device->GetTransform(D3DTS_VIEW, &view);
    device->GetTransform(D3DTS_PROJECTION, &projection);
    D3DXMATRIX inverseView;
    D3DXMatrixInverse(&inverseView, nullptr, &view);
    D3DLIGHT9 light;
    graphics.getLight(&light, 0);

    // Set after the objects drew: the meshes of a frame use the values of the frame before.
    ID3DXEffect* effect = Application::get().modelEffect.effect;
    if (effect) {
        const D3DXVECTOR4 colour(light.Diffuse.r, light.Diffuse.g, light.Diffuse.b, light.Diffuse.a);
        const D3DXVECTOR4 ambient(light.Ambient.r, light.Ambient.g, light.Ambient.b, light.Ambient.a);
        const D3DXVECTOR4 specular(light.Specular.r, light.Specular.g, light.Specular.b, light.Specular.a);
        effect->SetValue("LightDir", &light.Direction, 12);
        effect->SetVector("LightColor", &colour);
        effect->SetVector("LightAmbient", &ambient);
        effect->SetVector("LightSpecular", &specular);
        effect->SetMatrix("mP", &projection);
        effect->SetMatrix("mV", &view);
        effect->SetValue("CamPos", &inverseView._41, 12);
    }

    device->EndScene();
}

void Stage::endPlay(int won) {
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->ReleaseMeshes();
    objects().deleteAll();
    cleared = won;
    finished = 1;
}

void Stage::clear() { endPlay(1); }

void Stage::gameOver() { endPlay(0); }

void Stage::release() {
    for (size_t i = 0; i < objects().size(); ++i) objects()[i]->ReleaseMeshes();
    g_subField.Release();
    objects().deleteAll();
}
