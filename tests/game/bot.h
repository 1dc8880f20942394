// tests/game/bot.h: a player for tests and soaks. It reads the card and the
// dice off the game record, as a player reads the screen, finds an
// expression, and enters it with the keyboard, one key press at a time.
#pragma once

#include "tests/game/harness.h"

class Bot {
 public:
  explicit Bot(GameHarness& h) : h_(h) {}

  // Starts a game of this card type from the menu's screen state.
  void StartGame(int cardType);
  // Plays turns until the game is over: it earns numbers until `cards`
  // cards are complete, then misses on purpose. False if the game stalls.
  bool PlayGame(int cards);
  // One turn: waits for the dice to rest, enters an expression that earns
  // a number (or, with `miss`, one that earns nothing) and waits for the judging.
  bool PlayTurn(bool miss);

  int cardsCompleted = 0;
  int numbersEarned = 0;

 private:
  // Dice (1..5) and operator codes (1 + 2 - 3 x 4 /) of an expression found.
  struct Plan {
    int dice[5];
    int ops[4];
  };
  bool FindPlan(bool miss, Plan* plan) const;
  void Press(int key);
  bool MoveCursorTo(int target);
  bool WaitFor(int updates, bool (*done)(c_MyApp*));

  GameHarness& h_;
};
