# The game's own sources, written against the Windows SDK names: one list for every build
# of the game (src/CMakeLists.txt, over the platform layer; the Windows zip through
# cmake/Windows.cmake). tests/mingw_syntax compiles every source of these folders against
# the real SDK. Paths are relative to src/.
set(VELMORA_GAME_FOLDERS app render scene world player enemy sound)
set(VELMORA_GAME_SOURCES
  app/Application.cpp app/WinMain.cpp
  render/Graphics.cpp render/Mesh.cpp render/ModelEffect.cpp render/Texture.cpp
  scene/SClear.cpp scene/SGame.cpp scene/SGameOver.cpp scene/SResult.cpp
  scene/STitle.cpp scene/SceneBase.cpp scene/SceneManager.cpp scene/Stage.cpp
  world/CharaBase.cpp world/GameHelpers.cpp world/Lift.cpp world/ObjectList.cpp world/RopeObj.cpp world/SubField.cpp world/TestCamera.cpp
  player/Player.cpp player/SpiderLine.cpp
  enemy/DragonFly.cpp enemy/PillBugs.cpp enemy/PillBugsShell.cpp
  sound/SoundLoader.cpp sound/WaveFile.cpp)
