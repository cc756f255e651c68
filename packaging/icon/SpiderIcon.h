// The application icon: the spider machine hanging on its thread before a moonlit sky,
// in the colours of the title screen.
#pragma once

#include "Canvas.h"

namespace icon {

void paintSpiderIcon(Canvas& canvas);

}  // namespace icon
