// game/lock_actions.h: the actions whose keys keep a key lock on: a screen's
// lock is released only once no player holds any of them.
#pragma once

#include <algorithm>
#include <iterator>

#include "game/app.h"

constexpr int kLockActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

inline bool AnyLockActionHeld(c_MyApp* app) {
  return std::any_of(std::begin(kLockActions), std::end(kLockActions),
                     [app](int action) { return app->p_PlayKeyAll(action, 1) > 0; });
}
