// tests/net/loopback_server.h: a scripted TCP server on 127.0.0.1 for the
// network tests, able to misbehave on purpose (cut replies, early closes,
// resets), and a python3 http.server run beside the test.
#pragma once

#include <sys/types.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the server does with one connection.
struct Reply {
  // True once the bytes received so far make the whole request. The default
  // waits for an HTTP header and the body its Content-Length names.
  std::function<bool(const std::string& received)> request_complete;
  // Sent in order, each by its own send, with a pause before each but the first.
  std::vector<std::string> chunks;
  int pause_ms = 40;
  // Keep the connection until the client closes it, instead of closing after the chunks.
  bool hold_open = false;
  // End with a reset (SO_LINGER 0) instead of an orderly close.
  bool reset = false;
};

// The default request_complete: the header has ended and its body is whole.
bool HttpRequestComplete(const std::string& received);
// A request_complete that needs nothing: the reply starts at once.
bool NothingToRead(const std::string& received);

// Accepts one connection per reply, in order, each handled to its end.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::vector<Reply> replies);
  // Cuts off whatever is still being served, then waits for the server to stop.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // The bytes received on connection i so far.
  std::string request(int i) const;
  // Waits until every reply has been served.
  void Join();

 private:
  void Serve();
  void Handle(int connection, const Reply& reply, int index);

  std::vector<Reply> replies_;
  int listener_ = -1;
  // The connection being served, or -1; guarded by mutex_ so that it is never
  // shut down after its descriptor was closed and reused.
  int connection_ = -1;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// python3 -m http.server serving `folder` on 127.0.0.1, stopped by the destructor.
class PythonHttpServer {
 public:
  explicit PythonHttpServer(const std::string& folder);
  ~PythonHttpServer();
  PythonHttpServer(const PythonHttpServer&) = delete;
  PythonHttpServer& operator=(const PythonHttpServer&) = delete;
  // 0 when the server did not start.
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};
