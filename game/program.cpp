// game/program.cpp: the program's module globals in their start-up order and
// the collector's roots.
#include "audio/module.h"
#include "game/app.h"
#include "graphics/graphics.h"
#include "net/async_event_source.h"
#include "host/input.h"
#include "runtime/stack.h"
#include "runtime/startup.h"

int rkInit() {
  rk_app__app = nullptr;
  rk_app__delegate = nullptr;
  rk_graphics_device = nullptr;
  rk_app__game = RkGame::_game;

  rk_graphics_context = (new c_GraphicsContext())->m_new();

  c_Image::m_DefaultFlags = 0;
  rk_audio_device = nullptr;
  rk_input_device = nullptr;
  rk_app__devWidth = 0;
  rk_app__devHeight = 0;
  rk_app__displayModes = Array<c_DisplayMode*>();
  rk_app__desktopMode = nullptr;
  rk_graphics_renderDevice = nullptr;

  rk_Game_InitGlobals1();

  rk_asyncevent__sources = (new c_Stack3())->m_new();
  rk_app__updateRate = 0;

  rk_Game_InitGlobals2();
  rk_asyncevent__current = nullptr;
  c_Stack3::m_NIL = nullptr;

  rk_Game_InitRandom();

  rk_Game_InitGlobals3();
  c_Stack2::m_NIL = String();

  // The roots, in marking order; the other layers' globals take their places.
  gc_clear_roots();
  gc_add_root(&rk_app__app);
  gc_add_root(&rk_app__delegate);
  gc_add_root(&rk_graphics_device);
  gc_add_root(&rk_graphics_context);
  gc_add_root(&rk_audio_device);
  gc_add_root(&rk_input_device);
  gc_add_root(&rk_app__displayModes);
  gc_add_root(&rk_app__desktopMode);
  gc_add_root(&rk_graphics_renderDevice);
  gc_add_root(&rk_asyncevent__sources);
  gc_add_root(&rk_asyncevent__current);
  gc_add_root(&c_Stack3::m_NIL);
  rk_Game_AddRoots();
  return 0;
}
