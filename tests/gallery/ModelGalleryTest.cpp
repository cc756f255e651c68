// Every model the game draws, lit by the model shader, alone and put together as the
// game's objects: each picture shows its object in the middle, lit from the light's side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Assemblies.h"
#include "GallerySession.h"
#include "ImageStats.h"
#include "MeshShelf.h"
#include "ModelScene.h"

namespace gallery {
namespace {

const D3DCOLOR kBackground = 0xFF2A3140;
const velmora::Rgba kBackgroundRgba{0x2A, 0x31, 0x40, 0xFF};

// From the front-right, a little above.
const D3DXVECTOR3 kFrontView(-0.6f, -0.45f, -1);
// From above, for flat pieces that lie on the ground or spread like wings.
const D3DXVECTOR3 kTopView(-0.2f, -1, -0.45f);

struct Photo {
    velmora::Image image;
    D3DXVECTOR2 light;  // where the light comes from in the picture
};

Photo photograph(const std::vector<Part>& parts, const D3DXVECTOR3& view, const std::string& name) {
    ModelScene scene(kBackground);
    scene.frame(parts, view);
    scene.draw(parts);
    return {scene.finish(name), scene.lightInPicture()};
}

// The object fills a fair part of the picture around its middle.
void expectCentredObject(const velmora::Image& image, double minimumShare) {
    const Silhouette s = silhouetteOf(image, kBackgroundRgba);
    EXPECT_GT(s.share, minimumShare) << "the object shows";
    EXPECT_LT(s.share, 0.9) << "and the background around it";
    EXPECT_NEAR(s.centreX, 640, 200);
    EXPECT_NEAR(s.centreY, 360, 150);
}

// The half of the object towards the light is the brighter one.
void expectLitFromTheLightsSide(const Photo& photo) {
    const SideLuminance sides = sideLuminance(photo.image, kBackgroundRgba, photo.light.x, photo.light.y);
    EXPECT_GT(sides.towards, sides.away + 8) << "lit half " << sides.towards << ", shaded half " << sides.away;
}

struct Model {
    const char* file;
    float scale;  // as the game draws it
    bool solid;   // a body with sides, rather than a flat sheet or deck
};

const Model kModels[] = {{"Field/Lift2.x", 1.5f, false},
                         {"Field/RopeObject2.x", 0, true},
                         {"Chara/Spider/SpiderMachineBody2.x", 1, true},
                         {"Chara/Spider/SpiderMachineArm2.x", 1, true},
                         {"Chara/Spider/SpiderMachineBullet.x", 1, true},
                         {"Chara/Spider/SpiderMachineShadow.x", 1, false},
                         {"LineBall/LineBall.x", 2, true},
                         {"LineBall/LineBallDeb.x", 2, true},
                         {"Chara/DragonFly/DragonFlyBody.x", 1.2f, true},
                         {"Chara/DragonFly/DragonFlyFlont.x", 1.2f, false},
                         {"Chara/DragonFly/DragonFlyBack.x", 1.2f, false},
                         {"Chara/DragonFly/DragonFlyShadow.x", 1.2f, false},
                         {"Chara/DragonFly/DragonFlyDebris.x", 1.2f, true},
                         {"Chara/PillBugs/PillBugs.x", 9, true},
                         {"Chara/PillBugs/PillBugsArm.x", 9, true},
                         {"Chara/PillBugs/PillBugsGun.x", 9, true},
                         {"Chara/PillBugs/PillBugsBall.x", 9, true},
                         {"Chara/PillBugs/Shell.x", 8.1f, true}};

std::string pictureName(const std::string& file) {
    const std::string base = file.substr(file.find_last_of('/') + 1);
    return "model-" + base.substr(0, base.size() - 2);
}

TEST(ModelGallery, EveryModelShowsLitInTheMiddle) {
    GALLERY_REQUIRE_DEVICE();
    for (const Model& model : kModels) {
        SCOPED_TRACE(model.file);
        const std::string path = std::string("data/") + model.file;
        // The anchor is authored at the arena's scale, like the arena.
        const D3DXMATRIX world = model.scale > 0 ? scaling(model.scale) : scaling(25, 30, 25);
        const Photo photo =
            photograph({{&MeshShelf::get(path), world}}, model.solid ? kFrontView : kTopView, pictureName(model.file));
        expectCentredObject(photo.image, 0.02);
        if (model.solid) expectLitFromTheLightsSide(photo);
    }
}

TEST(ModelGallery, SpiderMachineStandsOnEightLegsWithItsGunOnItsBack) {
    GALLERY_REQUIRE_DEVICE();
    const std::vector<Part> parts = spiderParts(scaling(1));
    const Photo photo = photograph(parts, kFrontView, "spider-machine");
    expectCentredObject(photo.image, 0.05);
    expectLitFromTheLightsSide(photo);

    // Seen from straight above, the legs spread out on both sides of the body.
    const Photo above = photograph(parts, D3DXVECTOR3(0, -1, 0.01f), "spider-machine-above");
    const Silhouette s = silhouetteOf(above.image, kBackgroundRgba);
    EXPECT_GT(s.bounds.right - s.bounds.left, (s.bounds.bottom - s.bounds.top) * 0.8) << "legs reach out sideways";
}

TEST(ModelGallery, DragonFlyHasFourWingsSpreadToBothSides) {
    GALLERY_REQUIRE_DEVICE();
    const std::vector<Part> parts = dragonflyParts(scaling(1.2f) * translation(0, 1.5f, 0), 0.25f, 0);
    expectCentredObject(photograph(parts, kFrontView, "dragonfly").image, 0.02);

    const Photo above = photograph(parts, D3DXVECTOR3(0, -1, 0.01f), "dragonfly-above");
    const Silhouette s = silhouetteOf(above.image, kBackgroundRgba);
    // Wings 1.25 long on each side of a body 1.7 long.
    EXPECT_GT(s.bounds.right - s.bounds.left, (s.bounds.bottom - s.bounds.top) * 1.1) << "wings wider than the body is long";
    EXPECT_NEAR(s.centreX, 640, 60) << "as much wing on the left as on the right";
}

TEST(ModelGallery, BossWalksOnEightLegsWithItsGunOnTop) {
    GALLERY_REQUIRE_DEVICE();
    const Photo photo = photograph(bossParts(scaling(9) * translation(0, 3, 0)), kFrontView, "boss");
    expectCentredObject(photo.image, 0.05);
    expectLitFromTheLightsSide(photo);
}

TEST(ModelGallery, BossRolledUpIsARoundBall) {
    GALLERY_REQUIRE_DEVICE();
    const Photo photo = photograph({{&MeshShelf::get("data/Chara/PillBugs/PillBugsBall.x"),
                                     rotationX(0.6f) * scaling(9) * translation(0, 3, 0)}},
                                   D3DXVECTOR3(-1, -0.3f, 0.2f), "boss-rolled");
    const Silhouette s = silhouetteOf(photo.image, kBackgroundRgba);
    const double width = s.bounds.right - s.bounds.left, height = s.bounds.bottom - s.bounds.top;
    EXPECT_NEAR(width / height, 1.0, 0.15) << "round from the side";
}

}  // namespace
}  // namespace gallery
