#include "SClear.h"

SClear::SClear() : SResult(2, 0, "data/Sound/BGM/ResultBGM.wav", "data/Texture/StageClearBack.png") {}
