#include "SGameOver.h"

// Starts fully black and fades the picture in.
SGameOver::SGameOver() : SResult(3, 255, "data/Sound/BGM/GameOverBGM.wav", "data/Texture/GameOverback.png") {}
