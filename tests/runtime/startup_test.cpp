// The process's ways out, watched from outside: printed text, the runtime-error
// report, the debugger's line protocol and the exit statuses.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "tests/support/child_process.h"

namespace {

ChildResult Probe(std::vector<std::string> args, ChildOptions options = {}) {
  args.insert(args.begin(), STARTUP_PROBE);
  // Starting the game opens the audio device; the null driver keeps it quiet.
  options.environment.push_back("ALSOFT_DRIVERS=null");
  return RunChild(args, options);
}

// What the audio device prints when the game starts.
const char kGameStarted[] = "opening openal device\n";

const char kReport[] = "Zorvex Runtime Error : bad thing\n\n";
const char kStopMarker[] = "{{~~~~}}\n\n";

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

}  // namespace

TEST(Print, WritesEachCharacterAsUtf8AndANewline) {
  ChildResult r = Probe({"print"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "\xC3\xA9\n\xE2\x82\xACx\nplain\nprobe finished\n");
  EXPECT_EQ(r.err, "");
}

TEST(Print, GrowsItsBufferForLongText) {
  ChildResult r = Probe({"print-long"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, Repeat("0123456789", 4096) + "\nafter\nprobe finished\n");
}

TEST(OrderlyEnd, EmptyErrorExitsZeroSilently) {
  const std::pair<const char*, std::string> cases[] = {
      {"error", ""}, {"end-app", ""}, {"window-close", kGameStarted}};
  for (const auto& [action, printed] : cases) {
    ChildResult r = Probe({action});
    EXPECT_EQ(r.status, 0) << action;
    EXPECT_EQ(r.out, printed) << action;
  }
}

TEST(RuntimeError, WithoutDebuggerReportsAndExitsMinusOne) {
  ChildResult r = Probe({"error", "bad thing"});
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, kReport);
  EXPECT_EQ(r.err, kStopMarker);
}

TEST(RuntimeError, TerminalOnStandardInputCountsAsNoDebugger) {
  ChildOptions options;
  options.input_is_terminal = true;
  options.timeout_seconds = 5;
  ChildResult r = Probe({"error", "bad thing"}, options);
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, kReport);
}

TEST(RuntimeError, SecondApplicationIsAFatalError) {
  ChildResult r = Probe({"twice"});
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, "Zorvex Runtime Error : App has already been created\n\n");
}

TEST(RuntimeError, MessageBytesAboveAsciiAreWidenedWithSignExtension) {
  // Byte 0xE9 becomes the character U+FFE9, printed as three UTF-8 bytes.
  ChildResult r = Probe({"error", "caf\xE9"});
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, "Zorvex Runtime Error : caf\xEF\xBF\xA9\n\n");
}

TEST(Signals, BecomeRuntimeErrors) {
  const std::pair<int, const char*> cases[] = {
      {SIGSEGV, "Memory access violation"},
      {SIGILL, "Illegal instruction"},
      {SIGFPE, "Floating point exception"},
  };
  for (const auto& [signal_number, message] : cases) {
    ChildResult r = Probe({"signal", std::to_string(signal_number)});
    EXPECT_EQ(r.status, 255) << message;
    EXPECT_EQ(r.out, std::string("Zorvex Runtime Error : ") + message + "\n\n");
    EXPECT_EQ(r.err, kStopMarker);
  }
}

TEST(UncaughtException, FromStartUpOrAnEventEndsWithTheReport) {
  const std::pair<const char*, std::string> cases[] = {{"throw-in-start-up", ""},
                                                        {"throw-in-event", kGameStarted}};
  for (const auto& [action, printed] : cases) {
    ChildResult r = Probe({action});
    EXPECT_EQ(r.status, 255) << action;
    EXPECT_EQ(r.out, printed + "Zorvex Runtime Error : Uncaught Zorvex Exception\n") << action;
  }
}

TEST(Debugger, RunOnRepeatsTheReportAndQuitEndsWithZero) {
  ChildOptions options;
  options.input = "?\nr\ns\ne\nl\nq\n";
  ChildResult r = Probe({"error", "bad thing"}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, Repeat(kReport, 5));
  EXPECT_EQ(r.err, Repeat(kStopMarker, 5));
}

TEST(Debugger, UnknownCommandIsEchoedAndEndsWithMinusOne) {
  ChildOptions options;
  options.input = "z\n";
  ChildResult r = Probe({"error", "bad thing"}, options);
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, std::string(kReport) + "????? z ?????");
}

TEST(Debugger, LineWithoutNewlineEndsWithMinusOne) {
  ChildOptions options;
  options.input = "r";
  ChildResult r = Probe({"error", "bad thing"}, options);
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, kReport);
}

TEST(Debugger, InspectPrintsALiveObjectAndIgnoresBadAddresses) {
  ChildOptions options;
  bool sent = false;
  options.converse = [&sent](const std::string& out) -> std::string {
    size_t at = out.find("app=");
    size_t end = out.find('\n', at);
    if (sent || at == std::string::npos || end == std::string::npos) return "";
    sent = true;
    std::string address = out.substr(at + 4, end - at - 4);
    return "@" + address + "\n@0\n@0x10\nq\n";
  };
  ChildResult r = Probe({"error-after-address", "bad thing"}, options);
  EXPECT_TRUE(sent);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, std::string(kStopMarker) + "+Object\n\n\n\n");
}
