// net/thread.h: a detached OS thread running an object's body.
//
// Start() runs Run__UNSAFE__ on a new thread that is never joined; running
// goes 0 (never started) -> 1 (running) -> 2 (finished) and may start again.
// The body must not allocate collected objects or store through the write
// barrier: the collector belongs to the main thread. The object must stay
// reachable while its thread runs.
#pragma once

#include <atomic>

#include "runtime/array.h"

class RkThread : public Object {
 public:
  std::atomic<int> running{0};
  // Main thread only: the barrier that stores it is not thread-safe.
  Object* result = nullptr;

  virtual void Start();
  virtual bool IsRunning() { return running.load(std::memory_order_acquire) == 1; }
  virtual Object* Result() { return result; }
  virtual void SetResult(Object* value) { gc_assign(result, value); }
  // The thread's body; does nothing here.
  virtual void Run__UNSAFE__() {}

  void mark() override { gc_mark_field(result); }
};

class c_Thread : public RkThread {};
