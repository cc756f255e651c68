#include "Assemblies.h"

#include "MeshShelf.h"

namespace gallery {
namespace {

struct Leg {
    D3DXVECTOR3 hinge;
    float turn;  // about y, radians
};

const Leg kSpiderLegs[8] = {{{0.35f, 0.4f, 0.4f}, -1.2217305f},   {{-0.35f, 0.4f, 0.4f}, 4.3633232f},
                            {{0.35f, 0.4f, 0.15f}, -0.5235988f},  {{-0.35f, 0.4f, 0.15f}, 3.6651914f},
                            {{0.35f, 0.4f, 0}, 0.1745329f},       {{-0.35f, 0.4f, 0}, 2.9670596f},
                            {{0.45f, 0.4f, -0.15f}, 0.8726646f},  {{-0.45f, 0.4f, -0.15f}, 2.2689280f}};

const D3DXVECTOR3 kBossLegs[8] = {{0.1f, 0.2f, -0.3f}, {-0.1f, 0.2f, -0.3f}, {0.1f, 0.2f, -0.1f}, {-0.1f, 0.2f, -0.1f},
                                  {0.1f, 0.2f, 0.1f},  {-0.1f, 0.2f, 0.1f},  {0.1f, 0.2f, 0.3f},  {-0.1f, 0.2f, 0.3f}};

struct LiftStart {
    D3DXVECTOR3 position;
};
const LiftStart kLifts[4] = {{{-33, 72, 0}}, {{20, 84, 29}}, {{16, 92, 81}}, {{9, 40, 81}}};

}  // namespace

const Anchor kAnchors[11] = {{{36, 22, -113}, 0, 0},  {{2.5f, 36, -149}, 0, 90}, {{-34, 50, -122}, 0, 180},
                             {{-6, 66, -78}, 0, 270}, {{-18, 65, -36}, 0, 90},   {{36, 100, 72}, 0, 0},
                             {{-25, 110, 75}, 90, 90}, {{-45, 110, 75}, 90, 90}, {{-65, 110, 75}, 90, 90},
                             {{-85, 110, 75}, 90, 90}, {{-85, 110, 44}, 90, 0}};

D3DXMATRIX anchorWorld(const Anchor& anchor) {
    return rotationZ(anchor.rollDegrees * 0.017453292f) * rotationY(anchor.yawDegrees * 0.017453292f) *
           scaling(25, 30, 25) * translation(anchor.position.x, anchor.position.y, anchor.position.z);
}

std::vector<Part> spiderParts(const D3DXMATRIX& world) {
    std::vector<Part> parts;
    parts.push_back({&MeshShelf::get("data/Chara/Spider/SpiderMachineBody2.x"), world});
    parts.push_back({&MeshShelf::get("data/Chara/Spider/SpiderMachineShadow.x"), world});
    const Mesh& leg = MeshShelf::get("data/Chara/Spider/SpiderMachineArm2.x");
    for (const Leg& l : kSpiderLegs)
        parts.push_back({&leg, rotationY(l.turn) * translation(l.hinge.x, l.hinge.y, l.hinge.z) * world});
    parts.push_back({&MeshShelf::get("data/Chara/Spider/SpiderMachineBullet.x"), translation(0, 1.2f, -0.5f) * world});
    return parts;
}

std::vector<Part> dragonflyParts(const D3DXMATRIX& world, float flap, float groundY) {
    const Mesh& front = MeshShelf::get("data/Chara/DragonFly/DragonFlyFlont.x");
    const Mesh& back = MeshShelf::get("data/Chara/DragonFly/DragonFlyBack.x");
    const D3DXMATRIX mirror = rotationZ(3.14159274f);
    const D3DXMATRIX right = rotationZ(flap), left = rotationZ(-flap);
    const D3DXMATRIX frontOffset = translation(0, 0.3f, 0.1f), backOffset = translation(0, 0.3f, -0.1f);
    D3DXMATRIX shadow = world;
    shadow._42 = groundY;
    return {{&MeshShelf::get("data/Chara/DragonFly/DragonFlyBody.x"), world},
            {&front, right * frontOffset * world},
            {&front, mirror * left * frontOffset * world},
            {&back, right * backOffset * world},
            {&back, mirror * left * backOffset * world},
            {&MeshShelf::get("data/Chara/DragonFly/DragonFlyShadow.x"), shadow}};
}

std::vector<Part> bossParts(const D3DXMATRIX& world) {
    std::vector<Part> parts;
    parts.push_back({&MeshShelf::get("data/Chara/PillBugs/PillBugs.x"), world});
    const Mesh& leg = MeshShelf::get("data/Chara/PillBugs/PillBugsArm.x");
    for (int i = 0; i < 8; ++i) {
        const D3DXMATRIX local = translation(kBossLegs[i].x, kBossLegs[i].y, kBossLegs[i].z);
        parts.push_back({&leg, (i % 2 ? rotationY(3.1415927f) * local : local) * world});
    }
    parts.push_back({&MeshShelf::get("data/Chara/PillBugs/PillBugsGun.x"), translation(0, 0.45f, 0) * world});
    return parts;
}

std::vector<Part> arenaParts() {
    std::vector<Part> parts;
    parts.push_back({&MeshShelf::get("data/Field/SubField2.x"), scaling(25, 30, 25)});
    const Mesh& knot = MeshShelf::get("data/Field/RopeObject2.x");
    for (const Anchor& anchor : kAnchors) parts.push_back({&knot, anchorWorld(anchor)});
    const Mesh& lift = MeshShelf::get("data/Field/Lift2.x");
    for (const LiftStart& l : kLifts)
        parts.push_back({&lift, scaling(1.5f) * translation(l.position.x, l.position.y, l.position.z)});
    return parts;
}

}  // namespace gallery
