// game/globals.cpp: the game's module globals, their start values and the
// game's collector roots.
#include "game/app.h"

int rk_Game_isOuya = 0;
float rk_Game_overscan = 0;
int rk_Game_J_On_Allow = 0;
int rk_Game_J_On_Able = 0;
int rk_Game_GameNum = 0;
int rk_Game_UseHDImages = 0;
int rk_Game_DebugMode = 0;
float rk_Game_rawscrw = 0;
float rk_Game_rawscrh = 0;
float rk_Game_jscrw = 0;
float rk_Game_jscrh = 0;
int rk_Game_iCadeControls = 0;
int rk_Game_HasMusicStream = 0;
Array<String> rk_Game_MenuSet;
Array<String> rk_Game_CreditText;
int rk_Game_FadeOutStyle = 0;
int rk_Game_OnScreenControls = 0;
int rk_Game_AccelerometerControls = 0;
String rk_Game_PingEndpoint;

void rk_Game_InitGlobals1() {
  rk_Game_isOuya = 0;
  rk_Game_overscan = 0.0f;
  rk_Game_J_On_Allow = 0;
  rk_Game_J_On_Able = 0;
  rk_Game_GameNum = 415;
  rk_Game_UseHDImages = 1;
  rk_Game_DebugMode = 0;
  rk_Game_PingEndpoint = String("http://stats.marvolet.invalid/housecall.php");
}

void rk_Game_InitGlobals2() {
  rk_Game_rawscrw = 640.0f;
  rk_Game_rawscrh = 480.0f;
  rk_Game_jscrw = 640.0f;
  rk_Game_jscrh = 480.0f;
  rk_Game_iCadeControls = 0;
  rk_Game_HasMusicStream = 1;
  const char* menuSet[6] = {"5",  "Only five numbers\\nto earn, per card.",
                            "10", "Ten numbers to\\nearn per card.",
                            "15", "Fifteen numbers\\nto earn, per card."};
  rk_Game_MenuSet = Array<String>(6);
  for (int i = 0; i < 6; ++i) rk_Game_MenuSet[i] = String(menuSet[i]);
  rk_Game_CreditText = rk_Game_Credits();
}

void rk_Game_InitRandom() { rk_random_Seed = 1234; }

void rk_Game_InitGlobals3() {
  rk_Game_FadeOutStyle = 1;
  rk_Game_OnScreenControls = 0;
  rk_Game_AccelerometerControls = 0;
}

void rk_Game_AddRoots() {
  gc_add_root(&rk_Game_MenuSet);
  gc_add_root(&rk_Game_CreditText);
}
