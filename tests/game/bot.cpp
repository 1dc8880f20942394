// tests/game/bot.cpp: the test player.
#include "tests/game/bot.h"

#include <algorithm>

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyEnter = 13;

// A left-to-right step that keeps whole numbers of at least 0, as the game allows.
bool Step(int value, int op, int die, int* out) {
  switch (op) {
    case 1: *out = value + die; return true;
    case 2: *out = value - die; return *out >= 0;
    case 3: *out = value * die; return true;
    default:
      if (value % die != 0) return false;
      *out = value / die;
      return true;
  }
}

bool Unearned(c_MyApp* app, int value) {
  for (int cell = 0; cell < 15; ++cell) {
    if (app->m_Grid[cell] > 0 && app->m_Grid[50 + cell] == 0 && app->m_Grid[cell] == value) {
      return true;
    }
  }
  return false;
}

}  // namespace

void Bot::StartGame(int cardType) {
  h_.app->m_CardType = cardType;
  h_.app->m_Screen = 11;
  h_.Update();
}

bool Bot::FindPlan(bool miss, Plan* plan) const {
  c_MyApp* app = h_.app;
  int order[5] = {1, 2, 3, 4, 5};
  do {
    for (int ops = 0; ops < 256; ++ops) {
      int value = static_cast<int>(app->m_Turn[kTurnFinalFace + order[0]]);
      bool valid = true;
      for (int k = 0; k < 4 && valid; ++k) {
        const int die = static_cast<int>(app->m_Turn[kTurnFinalFace + order[k + 1]]);
        valid = Step(value, (ops >> (2 * k) & 3) + 1, die, &value);
      }
      if (!valid || Unearned(app, value) == miss) continue;
      std::copy(order, order + 5, plan->dice);
      for (int k = 0; k < 4; ++k) plan->ops[k] = (ops >> (2 * k) & 3) + 1;
      return true;
    }
  } while (std::next_permutation(order, order + 5));
  return false;
}

void Bot::Press(int key) {
  h_.KeyDown(key);
  h_.Update();
  h_.KeyUp(key);
  h_.Update();
}

// Steps the cursor (over dice or operator buttons) onto `target`.
bool Bot::MoveCursorTo(int target) {
  for (int presses = 0; presses < 12; ++presses) {
    const int cursor = static_cast<int>(h_.app->m_Turn[kTurnCursor]);
    if (cursor == target) return true;
    Press(cursor < target ? kKeyRight : kKeyLeft);
  }
  return false;
}

bool Bot::WaitFor(int updates, bool (*done)(c_MyApp*)) {
  for (int i = 0; i < updates; ++i) {
    if (done(h_.app)) return true;
    h_.Update();
  }
  return done(h_.app);
}

bool Bot::PlayTurn(bool miss) {
  c_MyApp* app = h_.app;
  if (!WaitFor(400, [](c_MyApp* a) {
        return a->m_GameOver > 0 || (a->m_Turn[kTurnRollTimer] == 0 && a->m_Turn[kTurnCount] == 1);
      })) {
    return false;
  }
  if (app->m_GameOver > 0) return true;
  Plan plan;
  if (!FindPlan(miss, &plan)) return false;
  const int scoreBefore = app->m_Score;
  for (int k = 0; k < 5; ++k) {
    if (!MoveCursorTo(plan.dice[k] - 1)) return false;
    Press(kKeyEnter);
    if (k == 4) break;
    if (!MoveCursorTo(plan.ops[k] - 1)) return false;
    Press(kKeyEnter);
  }
  // Judged: a complete card deals the next at once, else the next roll follows.
  if (!WaitFor(200, [](c_MyApp* a) {
        return a->m_Turn[kTurnCount] != 10 || a->m_Turn[kTurnRollTimer] > 0 || a->m_GameOver > 0;
      })) {
    return false;
  }
  if (app->m_Score > scoreBefore) ++numbersEarned;
  return true;
}

bool Bot::PlayGame(int cards) {
  c_MyApp* app = h_.app;
  for (int turn = 0; turn < 200 && app->m_GameOver == 0; ++turn) {
    const int scoreBefore = app->m_Score;
    if (!PlayTurn(cardsCompleted >= cards)) return false;
    if (app->m_Score - scoreBefore >= 250) ++cardsCompleted;
  }
  return app->m_GameOver > 0;
}
