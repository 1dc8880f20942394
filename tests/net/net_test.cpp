// tests/net/net_test.cpp: the network tests' fixture and recorders.
#include "tests/net/net_test.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Every registered source that is a socket.
std::vector<c_Socket*> Sockets() {
  std::vector<c_Socket*> sockets;
  for (int i = 0; rk_asyncevent__sources && i < rk_asyncevent__sources->m_Length; ++i) {
    if (auto* socket = dynamic_cast<c_Socket*>(rk_asyncevent__sources->m_Data[i])) {
      sockets.push_back(socket);
    }
  }
  return sockets;
}

// The queues of every registered source: a socket's two, or a queue itself.
std::vector<c_AsyncQueue*> Queues() {
  std::vector<c_AsyncQueue*> queues;
  for (int i = 0; rk_asyncevent__sources && i < rk_asyncevent__sources->m_Length; ++i) {
    c_IAsyncEventSource* source = rk_asyncevent__sources->m_Data[i];
    if (auto* socket = dynamic_cast<c_Socket*>(source)) {
      queues.push_back(socket->m_ReadQueue);
      queues.push_back(socket->m_WriteQueue);
    } else if (auto* queue = dynamic_cast<c_AsyncQueue*>(source)) {
      queues.push_back(queue);
    }
  }
  return queues;
}

}  // namespace

void NetTest::SetUp() {
  gc_clear_roots();
  gc_release_all();
  // The event module's globals, registered as rkInit registers them.
  rk_asyncevent__sources = (new c_Stack3())->m_new();
  rk_asyncevent__current = nullptr;
  c_Stack3::m_NIL = nullptr;
  gc_add_root(&rk_asyncevent__sources);
  gc_add_root(&rk_asyncevent__current);
  gc_add_root(&c_Stack3::m_NIL);
  roots_ = new TestRoots();
  gc_add_root(&roots_);
  gc_mark();
}

void NetTest::TearDown() {
  for (c_Socket* socket : Sockets()) socket->p_Close();
  EXPECT_TRUE(PumpUntilIdle()) << "a socket worker did not finish";
  EXPECT_EQ(HeapFault(), "");
  // Nothing may run on a worker once the heap is released.
  gc_clear_roots();
  gc_release_all();
  rk_asyncevent__sources = nullptr;
}

void NetTest::PumpOnce() {
  rk_asyncevent_UpdateAsyncEvents();
  gc_stress = stress_collector_;
  gc_collect();
  gc_stress = false;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool NetTest::PumpUntilIdle(int timeout_ms) {
  return PumpUntil(
      [] {
        for (c_AsyncQueue* queue : Queues()) {
          if (queue->IsRunning() || queue->m_Get != queue->m_Put.load()) return false;
        }
        return true;
      },
      timeout_ms);
}

int SocketRecorder::p_OnConnectComplete(bool connected, c_Socket* source) {
  events.push_back(std::string("connect ") + (connected ? "true" : "false"));
  return 0;
}

int SocketRecorder::p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) {
  events.push_back("send " + std::to_string(offset) + " " + std::to_string(count));
  return 0;
}

int SocketRecorder::p_OnReceiveComplete(c_DataBuffer* data, int offset, int count,
                                        c_Socket* source) {
  events.push_back("receive " + std::to_string(offset) + " " + std::to_string(count));
  received.push_back(count > 0 ? Narrow(data->p_PeekString(offset, count, String("ascii"))) : "");
  return 0;
}

int RequestRecorder::p_OnHttpRequestComplete(c_HttpRequest* request) {
  ++calls;
  gc_assign(last, request);
  return 0;
}

std::string Narrow(const String& text) {
  std::string bytes;
  for (int i = 0; i < text.Length(); ++i) bytes += static_cast<char>(text[i] & 0xFF);
  return bytes;
}

std::string HeapFault() { return Narrow(gc_check_heap()); }

void PrepareForFatalError() {
  dup2(STDERR_FILENO, STDOUT_FILENO);
  int null = open("/dev/null", O_RDONLY);
  dup2(null, STDIN_FILENO);
}
