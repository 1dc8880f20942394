// runtime/end.cpp: the orderly end of the process: the application's end hook
// and the signals that ask for an end.
#include <csignal>
#include <cstdlib>
#include <initializer_list>

#include "runtime/startup.h"

void (*rk_end_hook)() = nullptr;

namespace {

volatile sig_atomic_t endSignal = 0;

void SetAction(int sig, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(sig, &action, nullptr);
}

// Async-signal-safe: only a flag for the main loop. A second signal while
// the first still waits (a hung save, a stop for a debugger) ends the
// process the default way.
void RequestEnd(int sig) {
  if (endSignal != 0) {
    SetAction(sig, SIG_DFL);
    raise(sig);
    return;
  }
  endSignal = sig;
}

}  // namespace

void rkCatchEndSignals() {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) SetAction(sig, RequestEnd);
}

int rkEndSignal() { return endSignal; }

void rkRunEndHook() {
  void (*hook)() = rk_end_hook;
  rk_end_hook = nullptr;
  if (hook) hook();
}

void rkEnd(int sig, int status) {
  rkRunEndHook();
  if (sig != 0) {
    SetAction(sig, SIG_DFL);
    raise(sig);
  }
  exit(status);
}
