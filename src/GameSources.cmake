# The game's own sources, written against the Windows SDK names: one list for the game
# (src/CMakeLists.txt, over the platform layer) and the check that they compile against
# the real SDK (windows/CMakeLists.txt). Paths are relative to src/.
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
