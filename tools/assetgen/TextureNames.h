// File names of the mesh textures; each lies in the folder of the meshes that use it.
#pragma once

namespace assetgen::texture {

// data/Field/
constexpr const char* kFloor = "Floor.png";
constexpr const char* kWall = "Wall.png";
constexpr const char* kLedge = "Ledge.png";
constexpr const char* kPit = "Pit.png";
constexpr const char* kCeiling = "Ceiling.png";
constexpr const char* kPlinth = "Plinth.png";
constexpr const char* kTrim = "Trim.png";
constexpr const char* kLiftDeck = "LiftDeck.png";
constexpr const char* kRopeKnot = "RopeKnot.png";
// data/Chara/Spider/
constexpr const char* kSpiderHull = "SpiderHull.png";
constexpr const char* kSpiderShadow = "SpiderShadow.png";
// data/Chara/DragonFly/
constexpr const char* kDragonFlyBody = "DragonFlyBody.png";
constexpr const char* kDragonFlyWing = "DragonFlyWing.png";
constexpr const char* kDragonFlyShadow = "DragonFlyShadow.png";
// data/Chara/PillBugs/
constexpr const char* kBossPlate = "PillBugsPlate.png";
constexpr const char* kBossShell = "PillBugsShell.png";
// data/LineBall/
constexpr const char* kSilk = "LineBallSilk.png";

}  // namespace assetgen::texture
