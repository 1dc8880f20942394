// net/rk_socket.h: the host's thin wrapper over one BSD socket, IPv4 only.
//
// Every operation is one direct, blocking call on `handle`. Socket failures
// are results (false, -1), never errors. The handle is atomic because a
// worker thread may read it while the main thread closes the socket.
#pragma once

#include <atomic>

#include "net/data_buffer.h"
#include "runtime/gc.h"

// One IPv4 socket address; port and address in host byte order.
class RkSocketAddress : public Object {
 public:
  int family = 0;
  int port = 0;
  unsigned address = 0;

  // Resolves `host` (the first IPv4 address; 0.0.0.0 when empty or unknown).
  // False when the port is outside 0..65535.
  bool Set(String host, int port);
  // Dotted decimal, as "127.0.0.1".
  String Host();
  int Port() { return port; }
};

class RkSocket : public Object {
 public:
  // Protocol numbers: TCP with TCP_NODELAY for stream and server, UDP for datagram.
  static constexpr int kStream = 1, kServer = 2, kDatagram = 3;

  std::atomic<int> handle{-1};
  int protocol = 0;
  int acceptedHandle = -1;
  // A descriptor shut down but not yet closed (main thread only), see Shutdown.
  int closingHandle = -1;

  RkSocket();
  // Closes the OS socket when the wrapper is collected.
  ~RkSocket() override;

  static void InitSockets();
  bool Open(int protocol);
  // Shutdown, then FinishClose: for a socket no worker is using.
  bool Close();
  // Ends the socket at once: handle becomes -1, and calls blocked on it or made
  // later fail. The descriptor stays reserved until FinishClose, so that a
  // worker still inside a call never finds it closed and given to another socket.
  bool Shutdown();
  // Closes the descriptor that Shutdown kept; only once no worker can be using it.
  void FinishClose();
  bool Bind(const String& host, int port);
  bool Connect(const String& host, int port);
  bool Listen(int backlog);
  bool Accept();
  // A new socket around the last accepted handle, or null.
  RkSocket* Accepted();
  // Transfers buffer[offset .. offset + count), clipped to the buffer; the
  // byte count moved, 0 when the peer has closed, -1 on error.
  int Send(RkDataBuffer* buffer, int offset, int count);
  int Receive(RkDataBuffer* buffer, int offset, int count);
  int SendTo(RkDataBuffer* buffer, int offset, int count, RkSocketAddress* address);
  int ReceiveFrom(RkDataBuffer* buffer, int offset, int count, RkSocketAddress* address);
  bool GetLocalAddress(RkSocketAddress* address);
  bool GetRemoteAddress(RkSocketAddress* address);
};
