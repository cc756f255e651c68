// The stage-clear screen, shown at once after the boss is beaten.
#pragma once

#include "SResult.h"

class SClear : public SResult {
public:
    SClear();
};
