// net/http_request.h: a minimal HTTP/1.0 client over the asynchronous sockets.
//
// A request connects, sends its header (and a body, if any), reads the
// response until the server closes the connection, keeps the status and the
// body text, and calls back once per p_Send on the main thread. Without a
// valid status line the status stays -1 and the text empty.
#pragma once

#include "net/socket.h"
#include "net/url.h"

class c_HttpRequest;

class c_IOnHttpRequestComplete : public gc_interface {
 public:
  virtual int p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

class c_HttpRequest : public Object,
                      public c_IOnConnectComplete,
                      public c_IOnSendComplete,
                      public c_IOnReceiveComplete {
 public:
  static constexpr int kHeaderBufferBytes = 4096;
  static constexpr int kResponseBufferBytes = 16384;

  String m_Method;
  c_Url* m_Url = nullptr;
  c_IOnHttpRequestComplete* m_OnComplete = nullptr;
  c_DataBuffer* m_Data = nullptr;
  // Body bytes still to send after the header.
  int m_DataLength = 0;
  int m_Status = -1;
  // Decoded body pieces; null until the response header has ended.
  c_StringStack* m_Response = nullptr;
  String m_ResponseText;
  // The request's header lines, then the response's.
  c_StringStack* m_Header = nullptr;
  c_Socket* m_Socket = nullptr;
  c_DataBuffer* m_Wbuf = nullptr;
  c_DataBuffer* m_Rbuf = nullptr;

  c_HttpRequest* m_new();
  c_HttpRequest* m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete);
  int p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete);
  int p_Send();
  int p_Send2(String data, String mimeType, String encoding);
  int p_Status() { return m_Status; }
  String p_ResponseText() { return m_ResponseText; }

  int p_OnConnectComplete(bool connected, c_Socket* source) override;
  int p_OnReceiveComplete(c_DataBuffer* buffer, int offset, int count, c_Socket* source) override;
  int p_OnSendComplete(c_DataBuffer* buffer, int offset, int count, c_Socket* source) override;
  // Closes the connection, joins the body and calls back.
  int p_Finish();
  void mark() override;

 private:
  // Reads the status line once the header has ended; false when it is not valid.
  bool StartResponse();
  int ReceiveHeader(int offset, int count);
  int ReceiveBody(int start, int end);
};
