// net/async_queue.cpp: the socket operations and the ring that runs them.
#include "net/async_queue.h"

#include "net/socket.h"
#include "runtime/startup.h"

c_AsyncConnectOp* c_AsyncConnectOp::m_new(RkSocket* socket, String host, int port,
                                          c_IOnConnectComplete* onComplete) {
  gc_assign(m_Socket, socket);
  m_Host = host;
  m_Port = port;
  gc_assign(m_OnComplete, onComplete);
  return this;
}

int c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket* source) {
  // m_Host is read in place: copying a String here would touch its
  // reference count, which the main thread owns.
  m_Connected = m_Socket->Connect(m_Host, m_Port);
  return 0;
}

int c_AsyncConnectOp::p_Complete(c_Socket* source) {
  if (m_Connected && source) source->m_State |= c_Socket::kConnectedBits;
  if (m_OnComplete) m_OnComplete->p_OnConnectComplete(m_Connected, source);
  return 0;
}

void c_AsyncConnectOp::mark() {
  gc_mark_field(m_Socket);
  gc_mark_field(m_OnComplete);
}

void c_AsyncSocketIoOp::SetUp(RkSocket* socket, c_DataBuffer* data, int offset, int count) {
  gc_assign(m_Socket, socket);
  gc_assign(m_Data, data);
  m_Offset = offset;
  m_Count = count;
}

void c_AsyncSocketIoOp::mark() {
  gc_mark_field(m_Socket);
  gc_mark_field(m_Data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(RkSocket* socket, c_DataBuffer* data, int offset, int count,
                                    c_IOnSendComplete* onComplete) {
  SetUp(socket, data, offset, count);
  gc_assign(m_OnComplete, onComplete);
  return this;
}

int c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket* source) {
  m_Count = m_Socket->Send(m_Data, m_Offset, m_Count);
  return 0;
}

int c_AsyncSendOp::p_Complete(c_Socket* source) {
  if (m_OnComplete) m_OnComplete->p_OnSendComplete(m_Data, m_Offset, m_Count, source);
  return 0;
}

void c_AsyncSendOp::mark() {
  c_AsyncSocketIoOp::mark();
  gc_mark_field(m_OnComplete);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(RkSocket* socket, c_DataBuffer* data, int offset,
                                          int count, c_IOnReceiveComplete* onComplete) {
  SetUp(socket, data, offset, count);
  gc_assign(m_OnComplete, onComplete);
  return this;
}

int c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket* source) {
  m_Count = m_Socket->Receive(m_Data, m_Offset, m_Count);
  return 0;
}

int c_AsyncReceiveOp::p_Complete(c_Socket* source) {
  if (m_OnComplete) m_OnComplete->p_OnReceiveComplete(m_Data, m_Offset, m_Count, source);
  return 0;
}

void c_AsyncReceiveOp::mark() {
  c_AsyncSocketIoOp::mark();
  gc_mark_field(m_OnComplete);
}

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* source) {
  gc_assign(m_Socket, source);
  gc_assign(m_Queue, Array<c_AsyncOp*>(kSlots));
  return this;
}

int c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
  if (!op) return 0;
  int put = m_Put.load(std::memory_order_relaxed);
  // The slot is free: the worker never reads slot m_Put, and the ring never
  // holds 256 unfinished operations.
  gc_assign(m_Queue[put], op);
  put = (put + 1) % kSlots;
  if (put == m_Get) rkError(String("AsyncQueue queue overflow!"));
  m_Put.store(put, std::memory_order_release);
  Start();
  return 0;
}

void c_AsyncQueue::Run__UNSAFE__() {
  int run = m_Run.load(std::memory_order_relaxed);
  while (run != m_Put.load(std::memory_order_acquire)) {
    m_Queue[run]->p_Execute__UNSAFE__(m_Socket);
    run = (run + 1) % kSlots;
    m_Run.store(run, std::memory_order_release);
  }
}

int c_AsyncQueue::p_UpdateAsyncEvents() {
  // Revives the worker if it ended just as a new operation arrived.
  if (m_Run.load(std::memory_order_acquire) != m_Put.load(std::memory_order_relaxed)) Start();
  while (m_Get != m_Run.load(std::memory_order_acquire)) {
    c_AsyncOp* op = m_Queue[m_Get];
    m_Get = (m_Get + 1) % kSlots;
    op->p_Complete(m_Socket);
  }
  return 0;
}

void c_AsyncQueue::mark() {
  c_Thread::mark();
  gc_mark_field(m_Socket);
  gc_mark_array(m_Queue);
}
