// tests/net/loopback_server.cpp: the scripted loopback server and the python3 server.
#include "tests/net/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

// Every wait of the server is bounded, so a faulty client fails a test instead of hanging it.
constexpr int kTimeoutSeconds = 10;

void SetTimeouts(int fd) {
  timeval timeout{kTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

void SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

}  // namespace

bool HttpRequestComplete(const std::string& received) {
  size_t header_end = received.find("\r\n\r\n");
  if (header_end == std::string::npos) return false;
  size_t body_length = 0;
  size_t field = received.find("Content-Length: ");
  if (field != std::string::npos && field < header_end) {
    body_length = strtoul(received.c_str() + field + 16, nullptr, 10);
  }
  return received.size() >= header_end + 4 + body_length;
}

bool NothingToRead(const std::string&) { return true; }

LoopbackServer::LoopbackServer(std::vector<Reply> replies)
    : replies_(std::move(replies)), requests_(replies_.size()) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (connection_ >= 0) shutdown(connection_, SHUT_RDWR);
  }
  if (listener_ >= 0) shutdown(listener_, SHUT_RDWR);
  Join();
  if (listener_ >= 0) close(listener_);
}

void LoopbackServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::request(int i) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.at(i);
}

void LoopbackServer::Serve() {
  for (size_t i = 0; i < replies_.size(); ++i) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, kTimeoutSeconds * 1000) <= 0) return;
    int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      connection_ = connection;
    }
    Handle(connection, replies_[i], static_cast<int>(i));
  }
}

void LoopbackServer::Handle(int connection, const Reply& reply, int index) {
  SetTimeouts(connection);
  int on = 1;
  setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  const auto& complete = reply.request_complete ? reply.request_complete : HttpRequestComplete;
  std::string received;
  char block[4096];
  while (!complete(received)) {
    ssize_t n = recv(connection, block, sizeof block, 0);
    if (n <= 0) break;
    received.append(block, static_cast<size_t>(n));
    std::lock_guard<std::mutex> lock(mutex_);
    requests_[index] = received;
  }
  for (size_t i = 0; i < reply.chunks.size(); ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(reply.pause_ms));
    SendAll(connection, reply.chunks[i]);
  }
  if (reply.hold_open) {
    while (recv(connection, block, sizeof block, 0) > 0) {
    }
  }
  if (reply.reset) {
    std::this_thread::sleep_for(std::chrono::milliseconds(reply.pause_ms));
    linger abort{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    connection_ = -1;
  }
  close(connection);
}

PythonHttpServer::PythonHttpServer(const std::string& folder) {
  int out[2];
  if (pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out[1], 1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    close(out[0]);
    execlp("python3", "python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
           "--directory", folder.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  // The first line names the port: "Serving HTTP on 127.0.0.1 port N (...".
  std::string line;
  char ch;
  pollfd readable{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && poll(&readable, 1, kTimeoutSeconds * 1000) > 0 &&
         read(out[0], &ch, 1) == 1) {
    line += ch;
  }
  close(out[0]);
  size_t at = line.find(" port ");
  if (at != std::string::npos) port_ = atoi(line.c_str() + at + 6);
}

PythonHttpServer::~PythonHttpServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}
