// net/async_event_source.h: something the main thread polls once per update for finished work.
#pragma once

#include "runtime/stack.h"

class c_IAsyncEventSource : public gc_interface {
 public:
  virtual int p_UpdateAsyncEvents() = 0;
};

// A stack of event sources; m_NIL is null.
class c_Stack3 : public GenericStack<c_IAsyncEventSource*, c_Stack3> {};
