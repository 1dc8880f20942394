// tests/net/socket_test.cpp: asynchronous sockets against loopback peers.
#include <sys/resource.h>

#include "tests/net/loopback_server.h"
#include "tests/net/net_test.h"

namespace {

class SocketTest : public NetTest {
 protected:
  c_Socket* Socket(const char* protocol = "stream") {
    return Keep((new c_Socket())->m_new(String(protocol)));
  }
  c_DataBuffer* Buffer(int length) { return Keep((new c_DataBuffer())->m_new(length)); }
  c_DataBuffer* Text(const std::string& text) {
    c_DataBuffer* buffer = Buffer(static_cast<int>(text.size()));
    buffer->p_PokeString(0, String(text.c_str()), String("ascii"));
    return buffer;
  }
  // Connects to the loopback port and waits for the outcome.
  bool Connect(c_Socket* socket, int port, SocketRecorder* recorder) {
    socket->p_ConnectAsync(String("127.0.0.1"), port, recorder);
    size_t before = recorder->events.size();
    EXPECT_TRUE(PumpUntil([&] { return recorder->events.size() > before; }));
    return recorder->events.back() == "connect true";
  }
  SocketRecorder* Recorder() { return Keep(new SocketRecorder()); }
};

// A socket made inside a callback, counting its updates.
struct CountingSocket : c_Socket {
  int updates = 0;
  int p_UpdateAsyncEvents() override {
    ++updates;
    return c_Socket::p_UpdateAsyncEvents();
  }
};

TEST_F(SocketTest, NewSocketIsOpenAndRegistered) {
  c_Socket* socket = Socket();
  EXPECT_EQ(socket->m_State, 1);
  EXPECT_EQ(socket->m_Proto, 1);
  EXPECT_TRUE(socket->p_IsOpen());
  EXPECT_FALSE(socket->p_IsConnected());
  EXPECT_EQ(Socket("server")->m_Proto, 2);
  EXPECT_EQ(Socket("datagram")->m_Proto, 3);
  EXPECT_EQ(rk_asyncevent__sources->m_Length, 3);
  EXPECT_EQ(rk_asyncevent__sources->m_Data[0], socket);
}

// No file descriptor may be opened, so the system refuses the socket.
void OpenSocketWithoutFiles() {
  rlimit no_files{0, 0};
  setrlimit(RLIMIT_NOFILE, &no_files);
  (new c_Socket())->m_new(String("stream"));
}

TEST_F(SocketTest, UnknownProtocolIsFatal) {
  EXPECT_FATAL_ERROR((new c_Socket())->m_new(String("tcp")), "Illegal socket protocol");
}

TEST_F(SocketTest, SocketTheSystemRefusesIsFatal) {
  if (kAddressSanitizer) GTEST_SKIP() << "the sanitizer's own checks need descriptors";
  EXPECT_FATAL_ERROR(OpenSocketWithoutFiles(), "Socket open failed");
}

TEST_F(SocketTest, ConnectSetsTheConnectedBitsOnTheMainThread) {
  LoopbackServer server({Reply{NothingToRead, {}, 0, true}});
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  ASSERT_TRUE(Connect(socket, server.port(), recorder));
  EXPECT_EQ(socket->m_State, 1 | 2 | 4);
  // Connecting again while connected is dropped without a callback.
  socket->p_ConnectAsync(String("127.0.0.1"), server.port(), recorder);
  for (int i = 0; i < 20; ++i) PumpOnce();
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"connect true"}));
}

TEST_F(SocketTest, ConnectToANameThatDoesNotResolveCompletesFalse) {
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  socket->p_ConnectAsync(String("no-such-host.invalid"), 80, recorder);
  ASSERT_TRUE(PumpUntil([&] { return !recorder->events.empty(); }, 20000));
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"connect false"}));
  EXPECT_EQ(socket->m_State, 1);
}

TEST_F(SocketTest, ConnectFailsForUnresolvedEmptyOrOutOfRangeTargets) {
  // An empty host would be 0.0.0.0, which Linux takes as this machine.
  LoopbackServer server({});
  for (auto target : {std::make_pair("", server.port()), std::make_pair("127.0.0.1", -1),
                      std::make_pair("127.0.0.1", 65536 + server.port())}) {
    c_Socket* socket = Socket();
    SocketRecorder* recorder = Recorder();
    socket->p_ConnectAsync(String(target.first), target.second, recorder);
    ASSERT_TRUE(PumpUntil([&] { return !recorder->events.empty(); }));
    EXPECT_EQ(recorder->events[0], "connect false") << target.first << ":" << target.second;
  }
}

TEST_F(SocketTest, SendAndReceiveBeforeTheConnectCompletesAreDropped) {
  LoopbackServer server({Reply{NothingToRead, {"x"}, 0, true}});
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  c_DataBuffer* buffer = Text("hello");
  socket->p_SendAsync(buffer, 0, 5, recorder);
  socket->p_ReceiveAsync(buffer, 0, 5, recorder);
  socket->p_ConnectAsync(String("127.0.0.1"), server.port(), recorder);
  socket->p_SendAsync(buffer, 0, 5, recorder);
  ASSERT_TRUE(PumpUntil([&] { return !recorder->events.empty(); }));
  for (int i = 0; i < 20; ++i) PumpOnce();
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"connect true"}));
}

TEST_F(SocketTest, SendsArriveAndReceivesCompleteInOrderWithTheirCounts) {
  auto five_bytes = [](const std::string& received) { return received.size() >= 5; };
  LoopbackServer server({Reply{five_bytes, {"abc", "de"}, 40, false}});
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  ASSERT_TRUE(Connect(socket, server.port(), recorder));
  c_DataBuffer* in = Buffer(16);
  socket->p_ReceiveAsync(in, 0, 3, recorder);
  socket->p_ReceiveAsync(in, 3, 13, recorder);
  socket->p_ReceiveAsync(in, 0, 16, recorder);
  socket->p_SendAsync(Text("hello"), 0, 5, recorder);
  ASSERT_TRUE(PumpUntil([&] { return recorder->events.size() == 5; }));
  server.Join();
  EXPECT_EQ(server.request(0), "hello");
  std::vector<std::string> receives;
  for (const std::string& event : recorder->events) {
    if (event.rfind("receive", 0) == 0) receives.push_back(event);
  }
  // The peer's close reads as 0.
  EXPECT_EQ(receives, (std::vector<std::string>{"receive 0 3", "receive 3 2", "receive 0 0"}));
  EXPECT_EQ(recorder->received, (std::vector<std::string>{"abc", "de", ""}));
}

TEST_F(SocketTest, SendToAPeerThatHasGoneCompletesWithMinusOne) {
  LoopbackServer server({Reply{NothingToRead, {}, 0, false, true}});
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  ASSERT_TRUE(Connect(socket, server.port(), recorder));
  server.Join();
  // Once the reset is seen, every send fails with EPIPE, which raises SIGPIPE
  // and would end this process unless the send asks for no signal.
  c_DataBuffer* buffer = Text("ping");
  int failures = 0;
  for (int attempt = 0; attempt < 20 && failures < 3; ++attempt) {
    size_t before = recorder->events.size();
    socket->p_SendAsync(buffer, 0, 4, recorder);
    ASSERT_TRUE(PumpUntil([&] { return recorder->events.size() > before; }));
    if (recorder->events.back() == "send 0 -1") ++failures;
  }
  EXPECT_EQ(failures, 3);
}

TEST_F(SocketTest, CloseEndsAPendingReceiveAndDropsLaterOperations) {
  LoopbackServer server({Reply{NothingToRead, {}, 0, true}});
  c_Socket* socket = Socket();
  SocketRecorder* recorder = Recorder();
  ASSERT_TRUE(Connect(socket, server.port(), recorder));
  c_DataBuffer* buffer = Buffer(8);
  socket->p_ReceiveAsync(buffer, 0, 8, recorder);
  for (int i = 0; i < 20; ++i) PumpOnce();
  socket->p_Close();
  EXPECT_EQ(socket->m_State, 0);
  ASSERT_TRUE(PumpUntil([&] { return recorder->events.size() == 2; }));
  EXPECT_TRUE(recorder->events[1] == "receive 0 0" || recorder->events[1] == "receive 0 -1")
      << recorder->events[1];
  socket->p_SendAsync(buffer, 0, 8, recorder);
  socket->p_ConnectAsync(String("127.0.0.1"), server.port(), recorder);
  for (int i = 0; i < 20; ++i) PumpOnce();
  EXPECT_EQ(recorder->events.size(), 2u);
  // With the worker gone the descriptor itself is released.
  EXPECT_TRUE(PumpUntil([&] { return socket->m_Socket->closingHandle == -1; }));
}

TEST_F(SocketTest, AcceptedConnectionWrapsAsAConnectedSocket) {
  RkSocket* listener = Keep(new RkSocket());
  ASSERT_TRUE(listener->Open(RkSocket::kServer));
  ASSERT_TRUE(listener->Bind(String("127.0.0.1"), 0));
  ASSERT_TRUE(listener->Listen(4));
  RkSocketAddress* address = Keep(new RkSocketAddress());
  ASSERT_TRUE(listener->GetLocalAddress(address));
  EXPECT_EQ(Narrow(address->Host()), "127.0.0.1");

  c_Socket* client = Socket();
  SocketRecorder* client_events = Recorder();
  ASSERT_TRUE(Connect(client, address->Port(), client_events));
  ASSERT_TRUE(listener->Accept());
  RkSocket* accepted = listener->Accepted();
  ASSERT_NE(accepted, nullptr);
  EXPECT_EQ(listener->Accepted(), nullptr);
  c_Socket* peer = Keep((new c_Socket())->m_new2(accepted, 2, 1 | 2 | 4));
  RkSocketAddress* remote = Keep(new RkSocketAddress());
  ASSERT_TRUE(accepted->GetRemoteAddress(remote));
  RkSocketAddress* local = Keep(new RkSocketAddress());
  ASSERT_TRUE(client->m_Socket->GetLocalAddress(local));
  EXPECT_EQ(remote->Port(), local->Port());

  SocketRecorder* peer_events = Recorder();
  c_DataBuffer* in = Buffer(8);
  peer->p_ReceiveAsync(in, 0, 8, peer_events);
  client->p_SendAsync(Text("over"), 0, 4, client_events);
  ASSERT_TRUE(PumpUntil([&] { return peer_events->received.size() == 1; }));
  EXPECT_EQ(peer_events->received[0], "over");
}

TEST_F(SocketTest, DatagramsTravelBothWays) {
  RkSocket* server = Keep(new RkSocket());
  ASSERT_TRUE(server->Open(RkSocket::kDatagram));
  ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
  RkSocketAddress* address = Keep(new RkSocketAddress());
  ASSERT_TRUE(server->GetLocalAddress(address));

  c_Socket* client = Socket("datagram");
  SocketRecorder* recorder = Recorder();
  ASSERT_TRUE(Connect(client, address->Port(), recorder));
  client->p_SendAsync(Text("ping"), 0, 4, recorder);
  c_DataBuffer* in = Buffer(16);
  RkSocketAddress* sender = Keep(new RkSocketAddress());
  ASSERT_EQ(server->ReceiveFrom(in, 0, 16, sender), 4);
  EXPECT_EQ(Narrow(in->p_PeekString(0, 4, String("ascii"))), "ping");
  EXPECT_EQ(Narrow(sender->Host()), "127.0.0.1");

  client->p_ReceiveAsync(in, 8, 8, recorder);
  EXPECT_EQ(server->SendTo(Text("pong"), 0, 4, sender), 4);
  ASSERT_TRUE(PumpUntil([&] { return recorder->received.size() == 1; }));
  EXPECT_EQ(recorder->received[0], "pong");
  server->Close();
}

TEST_F(SocketTest, RkSocketRefusesBadArguments) {
  RkSocket* socket = Keep(new RkSocket());
  EXPECT_FALSE(socket->Open(0));
  EXPECT_FALSE(socket->Open(4));
  EXPECT_FALSE(socket->Close());
  ASSERT_TRUE(socket->Open(RkSocket::kStream));
  EXPECT_FALSE(socket->Open(RkSocket::kStream));
  c_DataBuffer* buffer = Buffer(4);
  EXPECT_EQ(socket->Send(nullptr, 0, 4), -1);
  EXPECT_EQ(socket->Send(buffer, 5, 1), -1);
  EXPECT_EQ(socket->Receive(buffer, -1, 1), -1);
  EXPECT_EQ(socket->SendTo(buffer, 0, 4, nullptr), -1);
  EXPECT_FALSE(socket->GetRemoteAddress(Keep(new RkSocketAddress())));
  EXPECT_TRUE(socket->Close());
  EXPECT_EQ(socket->handle.load(), -1);
  // Operations on a closed socket fail as results.
  EXPECT_EQ(socket->Send(buffer, 0, 4), -1);
  EXPECT_FALSE(socket->Connect(String("127.0.0.1"), 80));
}

TEST_F(SocketTest, SocketMadeInsideACallbackIsUpdatedInTheSamePass) {
  LoopbackServer server({Reply{NothingToRead, {}, 0, true}});
  c_Socket* socket = Socket();
  struct MakeSocketOnConnect : Object, c_IOnConnectComplete {
    CountingSocket* made = nullptr;
    int p_OnConnectComplete(bool, c_Socket*) override {
      made = static_cast<CountingSocket*>((new CountingSocket())->m_new(String("stream")));
      return 0;
    }
    void mark() override { gc_mark_field(made); }
  };
  auto* maker = Keep(new MakeSocketOnConnect());
  socket->p_ConnectAsync(String("127.0.0.1"), server.port(), maker);
  ASSERT_TRUE(PumpUntil([&] { return maker->made != nullptr; }));
  // The pass that ran the callback went on to the new socket.
  EXPECT_EQ(maker->made->updates, 1);
}

}  // namespace
