// tests/net/net_test.h: the fixture of the network tests: a fresh heap with
// the event module's roots, a pump that stands in for the host's update
// loop, callback recorders and the check for fatal runtime errors.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/async_event_source.h"
#include "net/http_request.h"
#include "net/socket.h"

#if defined(__has_feature)
#define MARVOLET_HAS_FEATURE(name) __has_feature(name)
#else
#define MARVOLET_HAS_FEATURE(name) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || MARVOLET_HAS_FEATURE(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#if defined(__SANITIZE_THREAD__) || MARVOLET_HAS_FEATURE(thread_sanitizer)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif

// Objects a test keeps alive across collector steps.
struct TestRoots : Object {
  std::vector<gc_object*> held;
  void mark() override {
    for (gc_object* object : held) gc_push_grey(object);
  }
};

class NetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Closes every socket, waits for their workers and checks the heap.
  void TearDown() override;

  // Keeps an object reachable for the rest of the test.
  template <class T>
  T* Keep(T* object) {
    gc_push_grey(object);
    roots_->held.push_back(gc_object_of(object));
    return object;
  }
  // Runs update passes (each followed by a collector step) until `done`
  // holds; false after `timeout_ms`.
  template <class Done>
  bool PumpUntil(Done done, int timeout_ms = 5000) {
    for (int waited = 0; !done(); ++waited) {
      if (waited >= timeout_ms) return false;
      PumpOnce();
    }
    return true;
  }
  void PumpOnce();
  // Until no registered queue has an operation waiting or running.
  bool PumpUntilIdle(int timeout_ms = 5000);

  // Every update pass runs a full collection cycle instead of a step.
  bool stress_collector_ = false;

 private:
  TestRoots* roots_ = nullptr;
};

// Records every socket callback as a line of text, with the data it carried.
struct SocketRecorder : Object, c_IOnConnectComplete, c_IOnSendComplete, c_IOnReceiveComplete {
  std::vector<std::string> events;
  std::vector<std::string> received;

  int p_OnConnectComplete(bool connected, c_Socket* source) override;
  int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
  int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
};

// Records every request that completes.
struct RequestRecorder : Object, c_IOnHttpRequestComplete {
  int calls = 0;
  c_HttpRequest* last = nullptr;
  int p_OnHttpRequestComplete(c_HttpRequest* request) override;
  void mark() override { gc_mark_field(last); }
};

// Text of a String with each character cut to 8 bits (test strings are ASCII or Latin-1).
std::string Narrow(const String& text);
// The heap check's finding, or "".
std::string HeapFault();

// Routes the runtime-error report to standard error (where death tests look)
// and gives the debugger stop an empty standard input, so it ends the process.
void PrepareForFatalError();

// The statement ends the process with the runtime error `message` (a regex).
#define EXPECT_FATAL_ERROR(statement, message)                              \
  do {                                                                      \
    GTEST_FLAG_SET(death_test_style, "threadsafe");                         \
    EXPECT_EXIT(                                                            \
        {                                                                   \
          PrepareForFatalError();                                           \
          statement;                                                        \
        },                                                                  \
        ::testing::ExitedWithCode(255), "Zorvex Runtime Error : " message); \
  } while (0)
