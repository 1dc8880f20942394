// runtime/debugger.cpp: fatal errors, the runtime-error report and the
// line protocol through which an attached debugger answers a stop.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "runtime/startup.h"

const char* dbg_info = nullptr;
int dbg_suspend = 0;
int dbg_stepmode = 0;
bool (*dbg_input_is_terminal)() = nullptr;

namespace {

// True when `address` is a live collected object. A debugger's "@" command
// names an object by address; checking it against the collector's lists keeps
// a mistyped or stale address from crashing the stopped process.
bool IsLiveObject(const void* address) {
  for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
    for (gc_object* p = list->next; p != list; p = p->next) {
      if (p == address) return true;
    }
  }
  return false;
}

void PrintObjectAt(const char* text) {
  void* address = nullptr;
  if (sscanf(text, "%p", &address) == 1 && address && IsLiveObject(address)) {
    if (Object* object = dynamic_cast<Object*>(static_cast<gc_object*>(address))) {
      dbg_print(object->debug());
      return;
    }
  }
  dbg_print(String());
}

}  // namespace

String dbg_stacktrace() {
  if (!dbg_info || !*dbg_info) return String();
  return String(dbg_info) + String("\n");
}

void dbg_print(const String& text) {
  for (int i = 0; i < text.Length(); ++i) fputc(text[i] & 0xff, stderr);
  fputc('\n', stderr);
  fflush(stderr);
}

void dbg_stop() {
  fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
  dbg_print(String());
  for (;;) {
    // A terminal is a person, not a debugger: waiting on it would freeze the
    // game after every runtime error, so it ends the process like no debugger.
    if (dbg_input_is_terminal && dbg_input_is_terminal()) exit(-1);
    char line[256];
    if (!fgets(line, sizeof line, stdin)) exit(-1);
    char* newline = strchr(line, '\n');
    if (!newline) exit(-1);
    *newline = 0;
    switch (line[0]) {
      case '?':
        continue;
      case 'r':
        dbg_suspend = 0;
        dbg_stepmode = 0;
        return;
      case 's':
      case 'e':
        dbg_suspend = 1;
        dbg_stepmode = line[0];
        return;
      case 'l':
        dbg_suspend = 0;
        dbg_stepmode = 'l';
        return;
      case '@':
        PrintObjectAt(line + 1);
        continue;
      case 'q':
        exit(0);
      default:
        printf("????? %s ?????", line);
        fflush(stdout);
        exit(-1);
    }
  }
}

void dbg_error(const char* message) {
  for (;;) {
    rkPrint(String("Zorvex Runtime Error : ") + String(message));
    rkPrint(dbg_stacktrace());
    dbg_stop();
  }
}

void rkError(const String& message) {
  if (message.IsEmpty()) rkEnd(0, 0);
  String::CString<char> bytes(message);
  dbg_error(bytes);
}

int rkDebugStop() {
  dbg_stop();
  return 0;
}

void sighandler(int sig) {
  switch (sig) {
    case SIGILL:
      dbg_error("Illegal instruction");
    case SIGFPE:
      dbg_error("Floating point exception");
    case SIGSEGV:
      dbg_error("Memory access violation");
    default:
      dbg_error("Unknown signal");
  }
}
