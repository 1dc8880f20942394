// tests/net/http_request_test.cpp: the HTTP/1.0 request against loopback servers.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "tests/net/loopback_server.h"
#include "tests/net/net_test.h"

namespace {

class HttpRequestTest : public NetTest {
 protected:
  void SetUp() override {
    NetTest::SetUp();
    recorder_ = Keep(new RequestRecorder());
  }
  static std::string Url(const LoopbackServer& server, const std::string& path = "/") {
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
  }
  c_HttpRequest* Open(const std::string& method, const std::string& url) {
    c_HttpRequest* request = Keep((new c_HttpRequest())->m_new());
    request->p_Open(String(method.c_str()), String(url.c_str()), recorder_);
    return request;
  }
  // Sends a GET and waits for its one callback.
  c_HttpRequest* Get(const std::string& url) {
    c_HttpRequest* request = Open("GET", url);
    int calls = recorder_->calls;
    request->p_Send();
    EXPECT_TRUE(Finished(calls + 1));
    return request;
  }
  // Waits for the callback, then a little longer to see that no second one comes.
  bool Finished(int calls = 1) {
    bool done = PumpUntil([&] { return recorder_->calls >= calls; });
    for (int i = 0; i < 20; ++i) PumpOnce();
    EXPECT_EQ(recorder_->calls, calls);
    return done;
  }
  // One server connection answering with these chunks.
  static LoopbackServer Serve(std::vector<std::string> chunks) {
    return LoopbackServer({Reply{HttpRequestComplete, std::move(chunks)}});
  }
  static std::vector<std::string> Lines(c_StringStack* stack) {
    std::vector<std::string> lines;
    for (int i = 0; stack && i < stack->p_Length(); ++i) lines.push_back(Narrow(stack->p_Get(i)));
    return lines;
  }

  RequestRecorder* recorder_ = nullptr;
};

TEST_F(HttpRequestTest, GetRequestIsTheRequestLineTheHostAndAnEmptyLine) {
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n\r\nok"});
  c_HttpRequest* request = Open("GET", "h/p?a=1");
  // "h" resolves nowhere, so the request goes out on a socket already connected here.
  c_Socket* socket = Keep((new c_Socket())->m_new(String("stream")));
  SocketRecorder* connects = Keep(new SocketRecorder());
  socket->p_ConnectAsync(String("127.0.0.1"), server.port(), connects);
  ASSERT_TRUE(PumpUntil([&] { return !connects->events.empty(); }));
  gc_assign(request->m_Socket, socket);
  request->p_OnConnectComplete(true, socket);
  ASSERT_TRUE(Finished());
  server.Join();
  EXPECT_EQ(server.request(0), "GET /p?a=1 HTTP/1.0\r\nHost: h\r\n\r\n");
  EXPECT_EQ(server.request(0).size(), 32u);
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "ok");
}

TEST_F(HttpRequestTest, OpenBuildsTheHeaderFromTheUrl) {
  c_HttpRequest* request = Open("GET", "h");
  EXPECT_EQ(Lines(request->m_Header), (std::vector<std::string>{"GET / HTTP/1.0", "Host: h"}));
  request->p_Open(String("HEAD"), String("http://x:81/a?b#c"), recorder_);
  EXPECT_EQ(Lines(request->m_Header),
            (std::vector<std::string>{"HEAD /a?b#c HTTP/1.0", "Host: x"}));
  EXPECT_EQ(request->p_Status(), -1);
  EXPECT_EQ(request->m_Response, nullptr);
}

TEST_F(HttpRequestTest, StatusesAndBodiesOfOkAndNotFound) {
  LoopbackServer server({Reply{HttpRequestComplete, {"HTTP/1.1 200 OK\r\nServer: t\r\n\r\nhello"}},
                         Reply{HttpRequestComplete, {"HTTP/1.0 404 Not Found\r\n\r\nmissing"}}});
  c_HttpRequest* found = Get(Url(server, "/a/b?x=1"));
  EXPECT_EQ(found->p_Status(), 200);
  EXPECT_EQ(Narrow(found->p_ResponseText()), "hello");
  EXPECT_EQ(Lines(found->m_Header), (std::vector<std::string>{"HTTP/1.1 200 OK", "Server: t"}));
  EXPECT_EQ(found->m_Socket->m_State, 0);
  c_HttpRequest* missing = Get(Url(server, "/gone"));
  EXPECT_EQ(missing->p_Status(), 404);
  EXPECT_EQ(Narrow(missing->p_ResponseText()), "missing");
  server.Join();
  EXPECT_EQ(server.request(0), "GET /a/b?x=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
}

TEST_F(HttpRequestTest, StatusLineIsReadInUpperCase) {
  LoopbackServer server = Serve({"http/1.1 201 created\n\n"});
  EXPECT_EQ(Get(Url(server))->p_Status(), 201);
}

TEST_F(HttpRequestTest, MalformedStatusLinesEndTheRequestWithMinusOne) {
  for (const char* reply : {"HTTP/1.0 200\r\n\r\nbody", "\r\n\r\nbody",
                            "FTP/1.0 200 OK\r\n\r\nbody", " \t\r\nHTTP/1.0 200 OK\r\n\r\nbody",
                            "HTTP/1.0 3014444444444444444444444 X\r\n\r\nbody",
                            "HTTP/1.0 20 OK\r\n\r\nbody", "HTTP/1.0 2O0 OK\r\n\r\nbody"}) {
    LoopbackServer server = Serve({reply});
    c_HttpRequest* request = Get(Url(server));
    EXPECT_EQ(request->p_Status(), -1) << reply;
    EXPECT_EQ(Narrow(request->p_ResponseText()), "") << reply;
  }
}

TEST_F(HttpRequestTest, HeaderLineSplitAcrossReceivesIsJoined) {
  LoopbackServer server = Serve({"HTTP/1.0 2", "00 OK\r\nServ", "er: t\r\n", "\r\nbody"});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Lines(request->m_Header), (std::vector<std::string>{"HTTP/1.0 200 OK", "Server: t"}));
  EXPECT_EQ(Narrow(request->p_ResponseText()), "body");
}

TEST_F(HttpRequestTest, BodyArrivingWithTheEndOfTheHeaderIsTheFirstPiece) {
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n\r\nfirst", "second", "third"});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(Narrow(request->p_ResponseText()), "firstsecondthird");
  ASSERT_GE(request->m_Response->p_Length(), 1);
  EXPECT_EQ(Narrow(request->m_Response->p_Get(0)), "first");
}

TEST_F(HttpRequestTest, BodyIsDecodedAsUtf8) {
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n\r\ncaf\xC3\xA9"});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_ResponseText(), String("caf") + String(static_cast<Char>(233)));
}

TEST_F(HttpRequestTest, ACharacterSplitAcrossReceivesIsDecodedWhole) {
  // A euro sign cut after its first and its second byte, an e acute after its first.
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n\r\na\xE2", "\x82", "\xAC\xC3", "\xA9z"});
  c_HttpRequest* request = Get(Url(server));
  const Char expected[] = {'a', 0x20AC, 0xE9, 'z'};
  EXPECT_TRUE(request->p_ResponseText() == String(expected, 4));

  recorder_->calls = 0;
  LoopbackServer cut = Serve({"HTTP/1.0 200 OK\r\n\r\nab\xC3"});  // the end cuts the last one
  EXPECT_EQ(Narrow(Get(Url(cut))->p_ResponseText()), "ab\xC3");
}

TEST_F(HttpRequestTest, ServerClosingBeforeTheHeaderEndsGivesMinusOne) {
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\nContent-"});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), -1);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "");
}

TEST_F(HttpRequestTest, ResetAfterTheBodyEndsTheRequestWithWhatArrived) {
  LoopbackServer server(
      {Reply{HttpRequestComplete, {"HTTP/1.0 200 OK\r\n\r\nabc"}, 60, false, true}});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "abc");
}

TEST_F(HttpRequestTest, HostThatDoesNotResolveCompletesWithMinusOne) {
  c_HttpRequest* request = Open("GET", "http://no-such-host.invalid/ping");
  request->p_Send();
  ASSERT_TRUE(PumpUntil([&] { return recorder_->calls == 1; }, 20000));
  EXPECT_EQ(recorder_->last, request);
  EXPECT_EQ(request->p_Status(), -1);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "");
}

TEST_F(HttpRequestTest, PostSendsContentTypeLengthAndTheBody) {
  LoopbackServer server({Reply{HttpRequestComplete, {"HTTP/1.0 201 Created\r\n\r\n"}},
                         Reply{HttpRequestComplete, {"HTTP/1.0 200 OK\r\n\r\n"}}});
  c_HttpRequest* request = Open("POST", Url(server, "/form"));
  Char body[] = {'n', 'a', 'm', 'e', '=', 233, 0x20AC};
  request->p_Send2(String(body, 7), String("application/x-www-form-urlencoded"), String("utf8"));
  ASSERT_TRUE(Finished());
  EXPECT_EQ(request->p_Status(), 201);
  request->p_Open(String("POST"), String(Url(server, "/raw").c_str()), recorder_);
  request->p_Send2(String("a"), String(), String("ascii"));
  ASSERT_TRUE(Finished(2));
  server.Join();
  EXPECT_EQ(server.request(0),
            "POST /form HTTP/1.0\r\nHost: 127.0.0.1\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 10\r\n\r\n"
            "name=\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(server.request(1),
            "POST /raw HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 1\r\n\r\na");
}

TEST_F(HttpRequestTest, BodyOfSeveralHundredKilobytesArrivesWhole) {
  std::string body;
  for (int i = 0; body.size() < 600000; ++i) body += "line " + std::to_string(i) + "\n";
  LoopbackServer server = Serve(
      {"HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_TRUE(Narrow(request->p_ResponseText()) == body) << "the body arrived damaged";
}

TEST_F(HttpRequestTest, HeaderLineMustFitTheResponseBuffer) {
  std::string fits = "X: " + std::string(16383 - 3, 'a');
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n", fits + "\n\r\nok"});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "ok");
  EXPECT_EQ(Lines(request->m_Header).at(1), fits);

  recorder_->calls = 0;
  LoopbackServer too_long = Serve({"HTTP/1.0 200 OK\r\n", fits + "a\n\r\nok"});
  c_HttpRequest* refused = Get(Url(too_long));
  EXPECT_EQ(refused->p_Status(), -1);
  EXPECT_EQ(Narrow(refused->p_ResponseText()), "");
}

TEST_F(HttpRequestTest, HeaderTooLongForItsBufferIsNotSent) {
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n\r\nok"});
  c_HttpRequest* request = Get(Url(server, "/" + std::string(5000, 'p')));
  EXPECT_EQ(request->p_Status(), -1);
  server.Join();
  EXPECT_EQ(server.request(0), "");
}

TEST_F(HttpRequestTest, RequestCanBeOpenedAndSentAgain) {
  LoopbackServer server({Reply{HttpRequestComplete, {"HTTP/1.0 404 Not Found\r\n\r\nno"}},
                         Reply{HttpRequestComplete, {"HTTP/1.0 200 OK\r\n\r\nyes"}}});
  c_HttpRequest* request = Get(Url(server));
  EXPECT_EQ(request->p_Status(), 404);
  request->p_Open(String("GET"), String(Url(server).c_str()), recorder_);
  EXPECT_EQ(request->p_Status(), -1);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "");
  request->p_Send();
  ASSERT_TRUE(Finished(2));
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "yes");
}

TEST_F(HttpRequestTest, SendingAgainAbandonsTheEarlierConnection) {
  Reply answer{HttpRequestComplete, {"HTTP/1.0 200 OK\r\n\r\nlatest"}};
  LoopbackServer server({answer, answer});
  c_HttpRequest* request = Open("GET", Url(server));
  request->p_Send();
  request->p_Send();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(request->p_Status(), 200);
  EXPECT_EQ(Narrow(request->p_ResponseText()), "latest");
}

TEST_F(HttpRequestTest, SendWithoutOpenDoesNothing) {
  c_HttpRequest* request = Keep((new c_HttpRequest())->m_new());
  request->p_Send();
  request->p_Send2(String("x"), String("text/plain"), String("ascii"));
  EXPECT_EQ(request->m_Socket, nullptr);
  request->p_Finish();
  EXPECT_EQ(request->p_Status(), -1);
}

TEST_F(HttpRequestTest, WholeRequestSurvivesACollectionAtEveryUpdate) {
  stress_collector_ = true;
  LoopbackServer server = Serve({"HTTP/1.0 200 OK\r\n", "\r\nbo", "dy"});
  // Only the event module's sources hold the request while it runs.
  c_HttpRequest* request =
      (new c_HttpRequest())->m_new2(String("GET"), String(Url(server).c_str()), recorder_);
  request->p_Send();
  ASSERT_TRUE(Finished());
  EXPECT_EQ(recorder_->last->p_Status(), 200);
  EXPECT_EQ(Narrow(recorder_->last->p_ResponseText()), "body");
}

TEST_F(HttpRequestTest, PythonHttpServerAnswersOkAndNotFound) {
  if (system("command -v python3 > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  char folder[] = "/tmp/marvolet_http_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string file = std::string(folder) + "/hello.txt";
  FILE* out = fopen(file.c_str(), "w");
  ASSERT_NE(out, nullptr);
  fputs("Hello, Marvolet!\n", out);
  fclose(out);
  {
    PythonHttpServer server(folder);
    ASSERT_NE(server.port(), 0) << "python3 -m http.server did not start";
    std::string base = "http://127.0.0.1:" + std::to_string(server.port());
    c_HttpRequest* found = Get(base + "/hello.txt");
    EXPECT_EQ(found->p_Status(), 200);
    EXPECT_EQ(Narrow(found->p_ResponseText()), "Hello, Marvolet!\n");
    c_HttpRequest* missing = Get(base + "/nothing.txt");
    EXPECT_EQ(missing->p_Status(), 404);
  }
  remove(file.c_str());
  rmdir(folder);
}

}  // namespace
