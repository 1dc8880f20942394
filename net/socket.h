// net/socket.h: a socket whose connects, sends and receives run on worker
// threads and complete on the main thread.
//
// Connects and receives share the read queue, so a receive queued after a
// connect runs once the connect has finished; sends have their own queue and
// may overlap receives. Operations asked for in the wrong state are dropped
// without a callback. A socket stays registered as an event source for life.
#pragma once

#include "net/async_queue.h"

class c_Socket : public Object, public c_IAsyncEventSource {
 public:
  // State bits. A successful connect sets 2 and 4 together; nothing sets 8
  // here, but it blocks connecting.
  static constexpr int kOpen = 1, kConnectedBits = 2 | 4, kConnected = 4, kListening = 8;

  RkSocket* m_Socket = nullptr;
  int m_Proto = 0;
  int m_State = 0;
  c_AsyncQueue* m_ReadQueue = nullptr;
  c_AsyncQueue* m_WriteQueue = nullptr;

  // "stream", "server" or "datagram"; any other name is the fatal error
  // "Illegal socket protocol", and a socket the system refuses is "Socket open failed".
  c_Socket* m_new(String protocol);
  // Wraps a socket that is already open, as an accepted connection.
  c_Socket* m_new2(RkSocket* socket, int protocol, int state);
  int p_Start();

  bool p_IsOpen() { return (m_State & kOpen) != 0; }
  bool p_IsConnected() { return (m_State & kConnected) != 0; }
  bool p_IsListening() { return (m_State & kListening) != 0; }
  // Operations still queued run against the closed handle and fail. The
  // descriptor itself is released once neither worker is running.
  int p_Close();

  int p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete);
  int p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
  int p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete);
  int p_UpdateAsyncEvents() override;
  void mark() override;

 private:
  void FinishCloseWhenIdle();
};
