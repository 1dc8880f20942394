// net/socket.cpp: c_Socket, the application's asynchronous socket.
#include "net/socket.h"

#include "runtime/startup.h"

namespace {

struct ProtocolName {
  const char* name;
  int number;
};
const ProtocolName kProtocols[] = {{"stream", RkSocket::kStream},
                                   {"server", RkSocket::kServer},
                                   {"datagram", RkSocket::kDatagram}};

}  // namespace

c_Socket* c_Socket::m_new(String protocol) {
  int number = 0;
  for (const ProtocolName& known : kProtocols) {
    if (protocol == String(known.name)) number = known.number;
  }
  if (number == 0) rkError(String("Illegal socket protocol"));
  gc_assign(m_Socket, new RkSocket());
  if (!m_Socket->Open(number)) rkError(String("Socket open failed"));
  m_Proto = number;
  m_State = kOpen;
  p_Start();
  return this;
}

c_Socket* c_Socket::m_new2(RkSocket* socket, int protocol, int state) {
  gc_assign(m_Socket, socket ? socket : new RkSocket());
  m_Proto = protocol;
  m_State = state;
  p_Start();
  return this;
}

int c_Socket::p_Start() {
  gc_assign(m_ReadQueue, (new c_AsyncQueue())->m_new(this));
  gc_assign(m_WriteQueue, (new c_AsyncQueue())->m_new(this));
  rk_asyncevent_AddAsyncEventSource(this);
  return 0;
}

int c_Socket::p_Close() {
  m_Socket->Shutdown();
  m_State = 0;
  FinishCloseWhenIdle();
  return 0;
}

void c_Socket::FinishCloseWhenIdle() {
  // A worker's last use of the descriptor comes before its running flag drops.
  if (!m_ReadQueue->IsRunning() && !m_WriteQueue->IsRunning()) m_Socket->FinishClose();
}

int c_Socket::p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete) {
  if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return 0;
  m_ReadQueue->p_Enqueue((new c_AsyncConnectOp())->m_new(m_Socket, host, port, onComplete));
  return 0;
}

int c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count,
                          c_IOnSendComplete* onComplete) {
  if (!p_IsConnected()) return 0;
  m_WriteQueue->p_Enqueue((new c_AsyncSendOp())->m_new(m_Socket, data, offset, count, onComplete));
  return 0;
}

int c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count,
                             c_IOnReceiveComplete* onComplete) {
  if (!p_IsConnected()) return 0;
  m_ReadQueue->p_Enqueue(
      (new c_AsyncReceiveOp())->m_new(m_Socket, data, offset, count, onComplete));
  return 0;
}

int c_Socket::p_UpdateAsyncEvents() {
  m_ReadQueue->p_UpdateAsyncEvents();
  m_WriteQueue->p_UpdateAsyncEvents();
  FinishCloseWhenIdle();
  return 0;
}

void c_Socket::mark() {
  gc_mark_field(m_Socket);
  gc_mark_field(m_ReadQueue);
  gc_mark_field(m_WriteQueue);
}
