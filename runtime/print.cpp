// runtime/print.cpp: rkPrint, the program's one line-oriented text output.
#include <cstdio>
#include <cstdlib>

#include "runtime/startup.h"

namespace {

// One process-wide byte buffer, reused by every print and grown as needed.
unsigned char* print_buffer = nullptr;
int print_capacity = 0;

void FreePrintBuffer() {
  free(print_buffer);
  print_buffer = nullptr;
  print_capacity = 0;
}

}  // namespace

int rkPrint(const String& text) {
  static bool registered = (atexit(FreePrintBuffer), true);
  (void)registered;
  int used = String::EncodeUtf8(text, &print_buffer, &print_capacity, 0);
  used = String::EncodeUtf8(String("\n"), &print_buffer, &print_capacity, used);
  // The terminating NUL for fputs: encode one more byte by hand.
  if (used + 1 > print_capacity) {
    print_capacity = used + 1;
    print_buffer = static_cast<unsigned char*>(realloc(print_buffer, print_capacity));
  }
  print_buffer[used] = 0;
  fputs(reinterpret_cast<const char*>(print_buffer), stdout);
  fflush(stdout);
  return 0;
}

int rkDebugLog(const String& text) { return rkPrint(text); }
