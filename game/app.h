// game/app.h: the game record, the one application object.
#pragma once

#include "host/app.h"

class c_MyApp : public c_App {
 public:
  c_MyApp* m_new();
  int p_OnCreate() override;
};
