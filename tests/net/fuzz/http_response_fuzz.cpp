// tests/net/fuzz/http_response_fuzz.cpp: feeds a byte stream from a loopback
// server to the HTTP client as a response and checks what it made of it.
//
// Input: the first byte shapes the delivery (chunk sizes, pauses, a reset at
// the end); the rest is the response. A model of the header rules gives the
// status the client must report and, for an ASCII body, the exact text.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "net/http_request.h"

namespace {

constexpr int kBufferBytes = c_HttpRequest::kResponseBufferBytes;

struct Listener : Object, c_IOnHttpRequestComplete {
  int calls = 0;
  int p_OnHttpRequestComplete(c_HttpRequest*) override {
    ++calls;
    return 0;
  }
};

Listener* listener = nullptr;
int server_socket = -1;
int server_port = 0;

void Fail(const char* what) {
  fprintf(stderr, "http_response_fuzz: %s\n", what);
  abort();
}

void SetUpOnce() {
  gc_clear_roots();
  gc_add_root(&rk_asyncevent__sources);
  gc_add_root(&rk_asyncevent__current);
  gc_add_root(&c_Stack3::m_NIL);
  gc_add_root(&listener);
  gc_assign(rk_asyncevent__sources, (new c_Stack3())->m_new());
  gc_assign(listener, new Listener());
  server_socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(server_socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(server_socket, 4) != 0 ||
      getsockname(server_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    Fail("no loopback listener");
  }
  server_port = ntohs(address.sin_port);
}

// Serves one connection: reads the request's header, then sends `response`
// in chunks shaped by `shape`, then closes or resets.
void Serve(const std::string& response, unsigned shape) {
  pollfd waiting{server_socket, POLLIN, 0};
  if (poll(&waiting, 1, 5000) <= 0) return;
  int connection = accept4(server_socket, nullptr, nullptr, SOCK_CLOEXEC);
  if (connection < 0) return;
  int on = 1;
  setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  timeval timeout{5, 0};
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  // The whole request is read first: unread bytes at close would turn it into a reset.
  std::string request;
  char block[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    ssize_t n = recv(connection, block, sizeof block, 0);
    if (n <= 0) break;
    request.append(block, static_cast<size_t>(n));
  }
  unsigned random = shape * 2654435761u + 1;
  size_t sent = 0;
  while (sent < response.size()) {
    random = random * 1103515245u + 12345u;
    size_t chunk =
        (shape & 3) == 0 ? response.size() : 1 + (random >> 8) % (64u << (shape & 3) * 3);
    if (chunk > response.size() - sent) chunk = response.size() - sent;
    if (send(connection, response.data() + sent, chunk, MSG_NOSIGNAL) <= 0) break;
    sent += chunk;
    if (shape & 4) std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  if (shape & 8) {
    linger abort_connection{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort_connection, sizeof abort_connection);
  }
  close(connection);
}

struct Expected {
  int status = -1;
  std::string body;
};

// The header rules: lines end at "\n" and are trimmed of bytes up to 32; the
// first empty one ends the header; a line that fills the buffer ends the request.
Expected Model(const std::string& response) {
  Expected expected;
  std::string first;
  bool have_first = false;
  size_t start = 0;
  for (;;) {
    size_t newline = response.find('\n', start);
    if (newline == std::string::npos || newline - start >= kBufferBytes) return expected;
    size_t from = start, to = newline;
    while (from < to && static_cast<unsigned char>(response[from]) <= 32) ++from;
    while (to > from && static_cast<unsigned char>(response[to - 1]) <= 32) --to;
    start = newline + 1;
    if (from == to) break;
    if (!have_first) first = response.substr(from, to - from);
    have_first = true;
  }
  if (!have_first) return expected;
  for (char& ch : first) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  size_t space = first.find(' ');
  if (space == std::string::npos || first.compare(0, 5, "HTTP/") != 0) return expected;
  size_t next = first.find(' ', space + 1);
  if (next == std::string::npos) return expected;
  // A status code is exactly three digits; anything else is a malformed line.
  std::string number = first.substr(space + 1, next - space - 1);
  if (number.size() != 3 || !isdigit(static_cast<unsigned char>(number[0])) ||
      !isdigit(static_cast<unsigned char>(number[1])) ||
      !isdigit(static_cast<unsigned char>(number[2]))) {
    return expected;
  }
  expected.status = atoi(number.c_str());
  expected.body = response.substr(start);
  return expected;
}

bool IsAscii(const std::string& bytes) {
  for (char ch : bytes) {
    if (static_cast<unsigned char>(ch) >= 128) return false;
  }
  return true;
}

std::string Narrow(const String& text) {
  std::string bytes;
  for (int i = 0; i < text.Length(); ++i) bytes += static_cast<char>(text[i] & 0xFF);
  return bytes;
}

bool QueuesIdle(c_Socket* socket) {
  for (c_AsyncQueue* queue : {socket->m_ReadQueue, socket->m_WriteQueue}) {
    if (queue->IsRunning() || queue->m_Get != queue->m_Put.load()) return false;
  }
  return true;
}

// Runs update passes until `done` holds; a hang is a finding.
template <class Done>
void Pump(Done done) {
  for (int waited = 0; !done(); ++waited) {
    if (waited > 20000) Fail("the request hung");
    rk_asyncevent_UpdateAsyncEvents();
    gc_collect();
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!listener) SetUpOnce();
  if (size == 0) return 0;
  unsigned shape = data[0];
  std::string response(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::thread server(Serve, response, shape);

  listener->calls = 0;
  std::string url = "http://127.0.0.1:" + std::to_string(server_port) + "/fuzz";
  c_HttpRequest* request =
      (new c_HttpRequest())->m_new2(String("GET"), String(url.c_str()), listener);
  request->p_Send();
  Pump([] { return listener->calls > 0; });
  Pump([request] { return QueuesIdle(request->m_Socket); });
  server.join();
  if (listener->calls != 1) Fail("the callback did not come exactly once");

  int status = request->p_Status();
  std::string text = Narrow(request->p_ResponseText());
  Expected expected = Model(response);
  bool reset = (shape & 8) != 0;
  if (status == -1 && !text.empty()) Fail("text without a status");
  if (!reset && status != expected.status) Fail("status differs from the model");
  if (reset && status != -1 && status != expected.status) Fail("status differs from the model");
  if (status != -1 && IsAscii(expected.body)) {
    if (reset ? expected.body.compare(0, text.size(), text) != 0 : text != expected.body) {
      Fail("body differs from the model");
    }
  }
  // A decoded piece has between a third of its bytes and all of them as characters.
  if (status != -1 &&
      (text.size() > expected.body.size() || (!reset && text.size() * 3 < expected.body.size()))) {
    Fail("body length is out of bounds");
  }

  // Sources live for the program; here each input starts with none, and a
  // full cycle frees the last one's objects so that stale use shows at once.
  gc_assign(rk_asyncevent__sources, (new c_Stack3())->m_new());
  gc_stress = true;
  gc_collect();
  gc_collect();
  gc_stress = false;
  return 0;
}
