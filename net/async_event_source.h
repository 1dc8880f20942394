// net/async_event_source.h: something the main thread polls once per update
// for finished work, and the event module that polls every such source.
#pragma once

#include "runtime/stack.h"

class c_IAsyncEventSource : public gc_interface {
 public:
  virtual int p_UpdateAsyncEvents() = 0;
};

// A stack of event sources; m_NIL is null.
class c_Stack3 : public GenericStack<c_IAsyncEventSource*, c_Stack3> {};

// Every registered source, in order of registration; sources are never removed.
extern c_Stack3* rk_asyncevent__sources;
// The source being updated, or null outside rk_asyncevent_UpdateAsyncEvents.
extern c_IAsyncEventSource* rk_asyncevent__current;

// Registers a source; registering one twice is the fatal error
// "Async event source is already active".
int rk_asyncevent_AddAsyncEventSource(c_IAsyncEventSource* source);
// Updates every source in order, including sources added during the pass.
// A call made while an update is in progress returns at once.
int rk_asyncevent_UpdateAsyncEvents();
