// Mock-ups of the game's screens built from the generated frames.
#pragma once
#include <vector>

#include "tools/sheet.h"

namespace art {

// The play screen, the main menu and the loading screen, 640 x 480 each, side
// by side, using the images of the given level.
Canvas previewScreens(const std::vector<ImageAsset>& assets, int level);

}  // namespace art
