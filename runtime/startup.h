// runtime/startup.h: process start-up, printing and fatal-error reporting.
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

extern int argc;
extern const char** argv;

// Debugger state: the location text (never set here), single-step flag and last step command.
extern const char* dbg_info;
extern int dbg_suspend;
extern int dbg_stepmode;
// Set by the host: true when standard input is a terminal (a person, not a
// debugger). Unset, standard input is taken for a debugger's pipe.
extern bool (*dbg_input_is_terminal)();

// Stores the command line, installs the fault handlers and the locale, brings
// up the collector and the module globals, then constructs the application.
int rk_std_main(int argc, const char** argv);

// Defined by the program: gives every module global its first value and
// registers the collector's roots, in order.
int rkInit();
// Defined by the program: constructs and registers the application object.
int rkMain();

// The program's print statement: UTF-8 plus a newline on standard output, flushed.
int rkPrint(const String& text);
int rkDebugLog(const String& text);
int rkDebugStop();

// A fatal error with the given text, or the orderly end of the process
// (rkEnd(0, 0)) when the text is empty. Never returns.
[[noreturn]] void rkError(const String& message);

// Run by the orderly end of the process, before it exits, so the application
// keeps what the player earned (set when the application registers).
extern void (*rk_end_hook)();
// From now on SIGTERM, SIGINT and SIGHUP ask for the orderly end.
void rkCatchEndSignals();
// The number of the SIGTERM, SIGINT or SIGHUP that asked the process to end,
// or 0. The handler only records it; the host's main loop ends the process
// when it sees it, outside any event.
int rkEndSignal();
// Runs the end hook, once: also before a fatal error that leaves the
// application's saved state sound.
void rkRunEndHook();
// The orderly end: runs the end hook once, then exits with `status`, or,
// given a signal, dies of that signal as it would have without a handler.
[[noreturn]] void rkEnd(int signal, int status);

// Writes the runtime-error report and stops for a debugger, again and again:
// a runtime error never resumes the program.
[[noreturn]] void dbg_error(const char* message);
String dbg_stacktrace();
void dbg_stop();
void dbg_print(const String& text);
void sighandler(int sig);
