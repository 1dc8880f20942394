// game/app.cpp: construction of the game record and what it holds for the collector.
#include "game/app.h"

c_MyApp* c_MyApp::m_new() {
  c_App::m_new();
  gc_assign(m_Images, Array<c_Image*>(100));
  gc_assign(m_ImageInfo, Array<int>(300));
  gc_assign(m_BadgeQueueId, Array<int>(15));
  gc_assign(m_BadgeQueueTime, Array<int>(15));
  gc_assign(m_BadgeFlags, Array<bool>(256));
  gc_assign(m_Pad, Array<int>(20));
  gc_assign(m_Settings, Array<int>(25));
  gc_assign(m_HiScores, Array<int>(150));
  gc_assign(m_Channels, Array<int>(33));
  gc_assign(m_DrawList, Array<float>(kDrawListFloats));
  gc_assign(m_TouchOn, Array<int>(10));
  gc_assign(m_TouchX, Array<int>(10));
  gc_assign(m_TouchY, Array<int>(10));
  gc_assign(m_Sounds, Array<c_Sound*>(100));
  gc_assign(m_Turn, Array<float>(512));
  // The card store keeps its declared length, but only its first entries are
  // ever written: zero-filled pages cost nothing until touched.
  gc_assign(m_Grid, Array<float>::ZeroFilled(kGridEntries));
  gc_assign(m_Parts, Array<float>(5100));
  gc_assign(m_ToyTrail, Array<float>(512));
  gc_assign(m_Stars, Array<float>(5100));
  gc_assign(m_PolyPoints, Array<float>(6));
  m_HitAreas.reserve(256);
  return this;
}

void c_MyApp::mark() {
  c_App::mark();
  gc_mark_field(m_HttpRequest);
  gc_mark_array(m_Images);
  gc_mark_array(m_ImageInfo);
  gc_mark_array(m_BadgeQueueId);
  gc_mark_array(m_BadgeQueueTime);
  gc_mark_array(m_BadgeFlags);
  gc_mark_array(m_Pad);
  gc_mark_array(m_Settings);
  gc_mark_array(m_HiScores);
  gc_mark_array(m_Channels);
  gc_mark_array(m_DrawList);
  gc_mark_array(m_TouchOn);
  gc_mark_array(m_TouchX);
  gc_mark_array(m_TouchY);
  gc_mark_array(m_Sounds);
  gc_mark_array(m_Turn);
  gc_mark_array(m_Grid);
  gc_mark_array(m_Parts);
  gc_mark_array(m_ToyTrail);
  gc_mark_array(m_Stars);
  gc_mark_array(m_PolyPoints);
}
