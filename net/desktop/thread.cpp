// net/desktop/thread.cpp: RkThread over POSIX threads.
#include "net/thread.h"

#include <pthread.h>

#include <cstdlib>

#include "runtime/startup.h"

namespace {

void* ThreadBody(void* argument) {
  RkThread* thread = static_cast<RkThread*>(argument);
  thread->Run__UNSAFE__();
  // The last touch of the object: after this a new thread may be started on it.
  thread->running.store(2, std::memory_order_release);
  return nullptr;
}

}  // namespace

void RkThread::Start() {
  if (running.load(std::memory_order_acquire) == 1) return;
  gc_assign(result, nullptr);
  running.store(1, std::memory_order_relaxed);
  pthread_attr_t attributes;
  pthread_t id;
  bool started = false;
  if (pthread_attr_init(&attributes) == 0) {
    started = pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) == 0 &&
              pthread_create(&id, &attributes, ThreadBody, this) == 0;
    pthread_attr_destroy(&attributes);
  }
  if (!started) {
    rkPrint(String("CreateThread failed!"));
    exit(-1);
  }
}
