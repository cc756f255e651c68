// The arena with its anchors and lifts, seen from the places a player passes: the start
// of the hall, the far area with the ledges, the hooks along the back wall, the boss's
// pit. Drawn with the play's projection (near 2.01, far 180) on its black clear.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Assemblies.h"
#include "GallerySession.h"
#include "ImageStats.h"
#include "ModelScene.h"

namespace gallery {
namespace {

const velmora::Rgba kBlack{0, 0, 0, 255};

struct View {
    const char* name;
    D3DXVECTOR3 eye, at;
};

velmora::Image photograph(ModelScene& scene, const View& view, const std::vector<Part>& extra) {
    scene.look(view.eye, view.at, 2.01f, 180.0f);
    scene.draw(arenaParts());
    scene.draw(extra);
    return scene.finish(view.name);
}

// The anchor knots are gold: where one is projected, the picture is warm and bright.
void expectAnchorsVisible(const velmora::Image& image, const ModelScene& scene, const std::vector<int>& anchors) {
    for (int i : anchors) {
        SCOPED_TRACE("anchor " + std::to_string(i));
        const D3DXVECTOR3 p = scene.project(kAnchors[i].position);
        ASSERT_GT(p.z, 0) << "in front of the camera";
        ASSERT_LT(p.z, 1);
        ASSERT_GE(p.x, 2);
        ASSERT_GE(p.y, 2);
        ASSERT_LT(p.x, 1278);
        ASSERT_LT(p.y, 718);
        int warm = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const velmora::Rgba c = image.pixel(unsigned(p.x) + dx, unsigned(p.y) + dy);
                warm += c.r > 120 && c.r > c.b + 40;
            }
        EXPECT_GE(warm, 8) << "at (" << p.x << ", " << p.y << ")";
    }
}

// Mean luminance of the drawn pixels within `half` pixels of a projected point.
double brightnessAround(const velmora::Image& image, const D3DXVECTOR3& p, unsigned halfWidth, unsigned halfHeight) {
    return meanLuminance(image, {unsigned(p.x) - halfWidth, unsigned(p.y) - halfHeight, unsigned(p.x) + halfWidth,
                                 unsigned(p.y) + halfHeight}, kBlack);
}

void expectAWholeScene(const velmora::Image& image) {
    ASSERT_EQ(image.width, 1280u);
    const Silhouette drawn = silhouetteOf(image, kBlack);
    EXPECT_GT(drawn.share, 0.97) << "the closed arena fills the view";
    EXPECT_GT(luminanceSpread(image), 10) << "surfaces that read apart";
}

TEST(ArenaGallery, StartOfTheHallLookingDownIt) {
    GALLERY_REQUIRE_DEVICE();
    // The play's first view: behind and above the spider machine at (0, 0, 73), facing -z.
    ModelScene scene(0xFF000000);
    const velmora::Image image =
        photograph(scene, {"arena-start", {0, 3, 79}, {0, 2, 67}}, spiderParts(rotationY(3.1415927f) * translation(0, 0, 73)));
    expectAWholeScene(image);
    EXPECT_GT(brightnessAround(image, scene.project(D3DXVECTOR3(0, 0.7f, 73)), 20, 10), 40)
        << "the spider machine stands in front of the camera";
    // The floor is lit from above, the far wall only by the ambient light: the lower part
    // of the picture is the brighter.
    EXPECT_GT(meanLuminance(image, {0, 460, 1280, 720}, kBlack), meanLuminance(image, {0, 0, 1280, 260}, kBlack));
}

TEST(ArenaGallery, FarAreaShowsTheLedgesAndTheirAnchors) {
    GALLERY_REQUIRE_DEVICE();
    ModelScene scene(0xFF000000);
    // Just inside the gate from the hall, where a player who fell from a ledge stands.
    const velmora::Image image = photograph(scene, {"arena-far-ledges", {34, 6, -82}, {-4, 40, -135}}, {});
    expectAWholeScene(image);
    expectAnchorsVisible(image, scene, {0, 1, 2});
}

TEST(ArenaGallery, HooksAlongTheBackWall) {
    GALLERY_REQUIRE_DEVICE();
    // From the top of lift 2's ride, where the swing starts.
    ModelScene scene(0xFF000000);
    const velmora::Image image = photograph(scene, {"arena-hooks", {16, 96, 70}, {-55, 108, 75}}, {});
    expectAWholeScene(image);
    expectAnchorsVisible(image, scene, {6, 7, 8, 9});
}

TEST(ArenaGallery, BossPitFromTheTerrace) {
    GALLERY_REQUIRE_DEVICE();
    ModelScene scene(0xFF000000);
    const velmora::Image image = photograph(scene, {"arena-boss-pit", {-70, 30, 30}, {-93, 15, -47}},
                                            bossParts(scaling(9) * translation(-93, 15, -47)));
    expectAWholeScene(image);
    const D3DXVECTOR3 boss = scene.project(D3DXVECTOR3(-93, 16, -47));
    EXPECT_NEAR(boss.x, 640, 40) << "the boss sleeps where the view looks";
    EXPECT_GT(brightnessAround(image, boss, 30, 20), 40);
}

}  // namespace
}  // namespace gallery
