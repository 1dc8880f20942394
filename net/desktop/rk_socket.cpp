// net/desktop/rk_socket.cpp: RkSocket and RkSocketAddress over POSIX sockets.
#include "net/rk_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace {

// Fills an IPv4 address for host and port: the first address the host
// resolves to, else 0.0.0.0. False when the port is outside 0..65535, which
// would otherwise wrap silently to some other port.
bool setsockaddr(sockaddr_in* address, const String& host, int port) {
  memset(address, 0, sizeof *address);
  address->sin_family = AF_INET;
  address->sin_addr.s_addr = htonl(INADDR_ANY);
  if (port < 0 || port > 65535) return false;
  address->sin_port = htons(static_cast<uint16_t>(port));
  if (host.IsEmpty() || host.Length() > 1023) return true;
  String::CString<char> name(host);
  // getaddrinfo, not gethostbyname: two workers may resolve at once, and
  // gethostbyname's shared result is not safe for that.
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) == 0 && found) {
    address->sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  }
  if (found) freeaddrinfo(found);
  return true;
}

void ToSocketAddress(const sockaddr_in& from, RkSocketAddress* to) {
  to->family = from.sin_family;
  to->port = ntohs(from.sin_port);
  to->address = ntohl(from.sin_addr.s_addr);
}

sockaddr_in FromSocketAddress(const RkSocketAddress& from) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(from.port));
  to.sin_addr.s_addr = htonl(from.address);
  return to;
}

// Fills `address` through getsockname or getpeername.
bool QueryAddress(int (*query)(int, sockaddr*, socklen_t*), int fd, RkSocketAddress* address) {
  sockaddr_in found{};
  socklen_t size = sizeof found;
  if (!address || query(fd, reinterpret_cast<sockaddr*>(&found), &size) < 0) return false;
  ToSocketAddress(found, address);
  return true;
}

// The bytes of buffer[offset .. offset + count) that exist, or -1 for no buffer
// or a range that starts outside it.
int ClipRange(RkDataBuffer* buffer, int offset, int count) {
  if (!buffer || offset < 0 || offset > buffer->length) return -1;
  if (count < 0) count = 0;
  return count < buffer->length - offset ? count : buffer->length - offset;
}

}  // namespace

bool RkSocketAddress::Set(String host, int new_port) {
  sockaddr_in resolved;
  if (!setsockaddr(&resolved, host, new_port)) return false;
  ToSocketAddress(resolved, this);
  return true;
}

String RkSocketAddress::Host() {
  in_addr in{htonl(address)};
  char text[INET_ADDRSTRLEN];
  inet_ntop(AF_INET, &in, text, sizeof text);
  return String(text);
}

RkSocket::RkSocket() { InitSockets(); }

RkSocket::~RkSocket() { Close(); }

// POSIX sockets need no start-up call.
void RkSocket::InitSockets() {}

bool RkSocket::Open(int new_protocol) {
  if (handle.load() >= 0 || new_protocol <= 0) return false;
  int fd = -1;
  if (new_protocol == kStream || new_protocol == kServer) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    int on = 1;
    if (fd >= 0) setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  } else if (new_protocol == kDatagram) {
    fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  }
  if (fd < 0) return false;
  handle.store(fd);
  protocol = new_protocol;
  return true;
}

bool RkSocket::Close() {
  bool was_open = Shutdown();
  FinishClose();
  return was_open;
}

bool RkSocket::Shutdown() {
  int fd = handle.exchange(-1);
  if (fd < 0) return false;
  // close() alone would not wake a worker blocked in recv on this socket on
  // Linux; shutdown() does, so its operation completes instead of hanging.
  shutdown(fd, SHUT_RDWR);
  FinishClose();
  closingHandle = fd;
  return true;
}

void RkSocket::FinishClose() {
  if (closingHandle >= 0) close(closingHandle);
  closingHandle = -1;
}

bool RkSocket::Bind(const String& host, int port) {
  sockaddr_in address;
  if (!setsockaddr(&address, host, port)) return false;
  return bind(handle.load(), reinterpret_cast<sockaddr*>(&address), sizeof address) >= 0;
}

bool RkSocket::Connect(const String& host, int port) {
  sockaddr_in address;
  if (!setsockaddr(&address, host, port)) return false;
  // Linux takes 0.0.0.0 as this machine, so an unresolved name would reach a
  // local server; it must fail instead, as it does elsewhere.
  if (address.sin_addr.s_addr == htonl(INADDR_ANY)) return false;
  return connect(handle.load(), reinterpret_cast<sockaddr*>(&address), sizeof address) >= 0;
}

bool RkSocket::Listen(int backlog) { return listen(handle.load(), backlog) >= 0; }

bool RkSocket::Accept() {
  acceptedHandle = accept4(handle.load(), nullptr, nullptr, SOCK_CLOEXEC);
  return acceptedHandle >= 0;
}

RkSocket* RkSocket::Accepted() {
  if (acceptedHandle < 0) return nullptr;
  RkSocket* socket = new RkSocket();
  socket->handle.store(acceptedHandle);
  socket->protocol = protocol;
  acceptedHandle = -1;
  return socket;
}

int RkSocket::Send(RkDataBuffer* buffer, int offset, int count) {
  count = ClipRange(buffer, offset, count);
  if (count < 0) return -1;
  // MSG_NOSIGNAL: a send to a peer that has closed must fail with -1, not
  // raise SIGPIPE and end the game.
  return static_cast<int>(send(handle.load(), buffer->data + offset, count, MSG_NOSIGNAL));
}

int RkSocket::Receive(RkDataBuffer* buffer, int offset, int count) {
  count = ClipRange(buffer, offset, count);
  if (count < 0) return -1;
  return static_cast<int>(recv(handle.load(), buffer->data + offset, count, 0));
}

int RkSocket::SendTo(RkDataBuffer* buffer, int offset, int count, RkSocketAddress* address) {
  count = ClipRange(buffer, offset, count);
  if (count < 0 || !address) return -1;
  sockaddr_in to = FromSocketAddress(*address);
  // MSG_NOSIGNAL as in Send.
  return static_cast<int>(sendto(handle.load(), buffer->data + offset, count, MSG_NOSIGNAL,
                                 reinterpret_cast<sockaddr*>(&to), sizeof to));
}

int RkSocket::ReceiveFrom(RkDataBuffer* buffer, int offset, int count, RkSocketAddress* address) {
  count = ClipRange(buffer, offset, count);
  if (count < 0 || !address) return -1;
  sockaddr_in from{};
  socklen_t size = sizeof from;
  int received = static_cast<int>(recvfrom(handle.load(), buffer->data + offset, count, 0,
                                           reinterpret_cast<sockaddr*>(&from), &size));
  if (received >= 0) ToSocketAddress(from, address);
  return received;
}

bool RkSocket::GetLocalAddress(RkSocketAddress* address) {
  return QueryAddress(getsockname, handle.load(), address);
}

bool RkSocket::GetRemoteAddress(RkSocketAddress* address) {
  return QueryAddress(getpeername, handle.load(), address);
}
