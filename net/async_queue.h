// net/async_queue.h: socket operations that run on a worker thread and
// complete on the main thread, and the ring of them each socket keeps.
//
// A queue is a fixed ring of 256 operations with three indices, each written
// by one thread only: m_Put (main thread: next slot to fill), m_Run (worker:
// next operation to execute) and m_Get (main thread: next executed operation
// to complete). Between m_Get and m_Run operations wait for completion;
// between m_Run and m_Put they wait for the worker. m_Put and m_Run are
// published with release and read with acquire, so a slot's operation is
// complete in memory before the index that hands it over moves.
#pragma once

#include <atomic>

#include "net/async_event_source.h"
#include "net/data_buffer.h"
#include "net/rk_socket.h"
#include "net/thread.h"

class c_Socket;

class c_IOnConnectComplete : public gc_interface {
 public:
  virtual int p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

class c_IOnSendComplete : public gc_interface {
 public:
  virtual int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_IOnReceiveComplete : public gc_interface {
 public:
  virtual int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_AsyncOp : public Object {
 public:
  // Main thread: hands the result to the callback.
  virtual int p_Complete(c_Socket* source) = 0;
  // Worker thread: the blocking socket call. Touches only the operation's
  // result fields and the OS socket.
  virtual int p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_AsyncConnectOp : public c_AsyncOp {
 public:
  RkSocket* m_Socket = nullptr;
  String m_Host;
  int m_Port = 0;
  c_IOnConnectComplete* m_OnComplete = nullptr;
  bool m_Connected = false;

  c_AsyncConnectOp* m_new(RkSocket* socket, String host, int port,
                          c_IOnConnectComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
 public:
  RkSocket* m_Socket = nullptr;
  c_DataBuffer* m_Data = nullptr;
  int m_Offset = 0;
  // Bytes asked for; after execution the bytes moved, 0 or -1.
  int m_Count = 0;

  void mark() override;

 protected:
  void SetUp(RkSocket* socket, c_DataBuffer* data, int offset, int count);
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
 public:
  c_IOnSendComplete* m_OnComplete = nullptr;

  c_AsyncSendOp* m_new(RkSocket* socket, c_DataBuffer* data, int offset, int count,
                       c_IOnSendComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
 public:
  c_IOnReceiveComplete* m_OnComplete = nullptr;

  c_AsyncReceiveOp* m_new(RkSocket* socket, c_DataBuffer* data, int offset, int count,
                          c_IOnReceiveComplete* onComplete);
  int p_Complete(c_Socket* source) override;
  int p_Execute__UNSAFE__(c_Socket* source) override;
  void mark() override;
};

class c_AsyncQueue : public c_Thread, public c_IAsyncEventSource {
 public:
  static constexpr int kSlots = 256;

  c_Socket* m_Socket = nullptr;
  Array<c_AsyncOp*> m_Queue;
  std::atomic<int> m_Put{0};
  std::atomic<int> m_Run{0};
  int m_Get = 0;

  c_AsyncQueue* m_new(c_Socket* source);
  // Queues an operation and wakes the worker. A ring holding 256 unfinished
  // operations is the fatal error "AsyncQueue queue overflow!".
  int p_Enqueue(c_AsyncOp* op);
  // The worker: executes operations until the ring is drained, then ends.
  void Run__UNSAFE__() override;
  // Completes the executed operations in order, on the main thread.
  int p_UpdateAsyncEvents() override;
  void mark() override;
};
