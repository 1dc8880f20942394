// net/async_event.cpp: the event module, which hands finished asynchronous
// work to the main thread once per update.
#include "net/async_event_source.h"
#include "runtime/startup.h"

c_Stack3* rk_asyncevent__sources = nullptr;
c_IAsyncEventSource* rk_asyncevent__current = nullptr;

int rk_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source) {
  // Without rkInit's stack there is nowhere to register: make it on first use.
  if (!rk_asyncevent__sources) gc_assign(rk_asyncevent__sources, (new c_Stack3())->m_new());
  c_Stack3* sources = rk_asyncevent__sources;
  for (int i = 0; i < sources->m_Length; ++i) {
    if (sources->m_Data[i] == source) rkError("Async event source is already active");
  }
  sources->p_Push(source);
  return 0;
}

int rk_asyncevent_UpdateAsyncEvents() {
  if (rk_asyncevent__current || !rk_asyncevent__sources) return 0;
  // Cleared even when a callback throws, so later updates are not blocked for good.
  struct ClearCurrent {
    ~ClearCurrent() { rk_asyncevent__current = nullptr; }
  } clear_current;
  // The length is read afresh each step: sources added by a callback join this pass.
  for (int i = 0; i < rk_asyncevent__sources->m_Length; ++i) {
    c_IAsyncEventSource* source = rk_asyncevent__sources->m_Data[i];
    gc_assign(rk_asyncevent__current, source);
    source->p_UpdateAsyncEvents();
  }
  return 0;
}
