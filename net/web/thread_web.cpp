// net/web/thread_web.cpp: RkThread in a page without threads. The body runs
// at once on the page's one thread; with the page's sockets it never waits
// (every socket call fails at once), and its result is collected on the next
// poll as a thread's would be.
#include "net/thread.h"

void RkThread::Start() {
  if (running.load() == 1) return;
  gc_assign(result, nullptr);
  running.store(1);
  Run__UNSAFE__();
  running.store(2);
}
