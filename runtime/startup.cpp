// runtime/startup.cpp: the runtime's part of start-up, between the host
// coming up and the application being registered.
#include <clocale>
#include <csignal>

#include "runtime/startup.h"

int argc = 0;
const char** argv = nullptr;

int rk_std_main(int count, const char** values) {
  argc = count;
  argv = values;
  signal(SIGSEGV, sighandler);
  signal(SIGILL, sighandler);
  signal(SIGFPE, sighandler);
  rkCatchEndSignals();
  if (!setlocale(LC_CTYPE, "en_US.UTF-8")) setlocale(LC_CTYPE, "");
  gc_init1();
  rkInit();
  gc_init2();
  rkMain();
  return 0;
}
