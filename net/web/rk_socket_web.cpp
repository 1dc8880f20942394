// net/web/rk_socket_web.cpp: RkSocket in a browser page, which has no raw
// sockets: every socket fails to open, so a connection or an HTTP request
// ends as failed (no connection, status -1) through the usual callbacks.
#include "net/rk_socket.h"

// Only dotted IPv4 addresses: a page cannot look names up.
bool RkSocketAddress::Set(String host, int new_port) {
  if (new_port < 0 || new_port > 65535) return false;
  unsigned parts[4] = {};
  int count = 0;
  unsigned value = 0;
  bool digits = false;
  for (int i = 0; i <= host.Length(); ++i) {
    int c = i < host.Length() ? host[i] : '.';
    if (c >= '0' && c <= '9' && value <= 255) {
      value = value * 10 + (c - '0');
      digits = true;
    } else if (c == '.' && digits && value <= 255 && count < 4) {
      parts[count++] = value;
      value = 0;
      digits = false;
    } else {
      count = -1;
      break;
    }
  }
  family = 2;
  port = new_port;
  address = count == 4 ? parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3] : 0;
  return true;
}

String RkSocketAddress::Host() {
  char text[16];
  snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, address >> 16 & 255,
           address >> 8 & 255, address & 255);
  return String(text);
}

RkSocket::RkSocket() {}
RkSocket::~RkSocket() {}
void RkSocket::InitSockets() {}
bool RkSocket::Open(int new_protocol) { return false; }
bool RkSocket::Close() { return false; }
bool RkSocket::Shutdown() { return false; }
void RkSocket::FinishClose() {}
bool RkSocket::Bind(const String& host, int port) { return false; }
bool RkSocket::Connect(const String& host, int port) { return false; }
bool RkSocket::Listen(int backlog) { return false; }
bool RkSocket::Accept() { return false; }
RkSocket* RkSocket::Accepted() { return nullptr; }
int RkSocket::Send(RkDataBuffer* buffer, int offset, int count) { return -1; }
int RkSocket::Receive(RkDataBuffer* buffer, int offset, int count) { return -1; }
int RkSocket::SendTo(RkDataBuffer* buffer, int offset, int count, RkSocketAddress* address) {
  return -1;
}
int RkSocket::ReceiveFrom(RkDataBuffer* buffer, int offset, int count,
                          RkSocketAddress* address) {
  return -1;
}
bool RkSocket::GetLocalAddress(RkSocketAddress* address) { return false; }
bool RkSocket::GetRemoteAddress(RkSocketAddress* address) { return false; }
