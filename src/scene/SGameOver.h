// The game-over screen; it fades in from black.
#pragma once

#include "SResult.h"

class SGameOver : public SResult {
public:
    SGameOver();
};
