// net/http_request.cpp: the HTTP/1.0 request, its header and its response.
#include "net/http_request.h"

c_HttpRequest* c_HttpRequest::m_new() {
  gc_assign(m_Header, (new c_StringStack())->m_new());
  gc_assign(m_Wbuf, (new c_DataBuffer())->m_new(kHeaderBufferBytes));
  gc_assign(m_Rbuf, (new c_DataBuffer())->m_new(kResponseBufferBytes));
  return this;
}

c_HttpRequest* c_HttpRequest::m_new2(String method, String url,
                                     c_IOnHttpRequestComplete* onComplete) {
  m_new();
  p_Open(method, url, onComplete);
  return this;
}

int c_HttpRequest::p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete) {
  m_Method = method;
  gc_assign(m_Url, (new c_Url())->m_new(url, String("http"), 80));
  gc_assign(m_OnComplete, onComplete);
  gc_assign(m_Data, nullptr);
  m_DataLength = 0;
  m_Status = -1;
  gc_assign(m_Response, nullptr);
  m_ResponseText = String();
  gc_assign(m_Header, (new c_StringStack())->m_new());
  m_Header->p_Push(method + String(" ") + m_Url->p_FullPath() + String(" HTTP/1.0"));
  m_Header->p_Push(String("Host: ") + m_Url->p_Domain());
  return 0;
}

int c_HttpRequest::p_Send() {
  // Nothing to send before p_Open.
  if (!m_Url) return 0;
  // An earlier connection still running is abandoned: closed, its callbacks ignored.
  if (m_Socket) m_Socket->p_Close();
  gc_assign(m_Socket, (new c_Socket())->m_new(String("stream")));
  m_Socket->p_ConnectAsync(m_Url->p_Domain(), m_Url->p_Port(), this);
  return 0;
}

int c_HttpRequest::p_Send2(String data, String mimeType, String encoding) {
  if (!m_Url) return 0;
  gc_assign(m_Data, (new c_DataBuffer())->m_new(data.Length() * 3));
  m_DataLength = m_Data->p_PokeString(0, data, encoding);
  if (!mimeType.IsEmpty()) m_Header->p_Push(String("Content-Type: ") + mimeType);
  m_Header->p_Push(String("Content-Length: ") + String(m_DataLength));
  return p_Send();
}

int c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket* source) {
  // A socket left behind by an earlier p_Send no longer speaks for this request.
  if (source != m_Socket) return 0;
  if (!connected) return p_Finish();
  m_Header->p_Push(String());
  m_Header->p_Push(String());
  String text = m_Header->p_Join(String("\r\n"));
  int length = m_Wbuf->p_PokeString(0, text, String("ascii"));
  m_Header->p_Clear();
  // A header that does not fit the buffer cannot be sent whole.
  if (length > m_Wbuf->p_Length()) return p_Finish();
  if (source->p_IsConnected()) {
    source->p_SendAsync(m_Wbuf, 0, length, this);
    source->p_ReceiveAsync(m_Rbuf, 0, kResponseBufferBytes, this);
  }
  return 0;
}

int c_HttpRequest::p_OnSendComplete(c_DataBuffer* buffer, int offset, int count, c_Socket* source) {
  if (source != m_Socket) return 0;
  if (m_DataLength != 0 && source->p_IsConnected()) {
    source->p_SendAsync(m_Data, 0, m_DataLength, this);
  }
  m_DataLength = 0;
  return 0;
}

int c_HttpRequest::p_OnReceiveComplete(c_DataBuffer* buffer, int offset, int count,
                                       c_Socket* source) {
  if (source != m_Socket) return 0;
  // The server closed the connection, or the receive failed: the response is
  // over, and a character it cut short stays undecoded.
  if (count <= 0) {
    if (m_Response && offset > 0) {
      m_Response->p_Push(m_Rbuf->p_PeekString(0, offset, String("utf8")));
    }
    return p_Finish();
  }
  if (!m_Response) return ReceiveHeader(offset, count);
  return ReceiveBody(0, offset + count);
}

// Decodes m_Rbuf[start .. end) as the next body piece. A character that the
// receive cut short is moved to the start of the buffer and finished by the next.
int c_HttpRequest::ReceiveBody(int start, int end) {
  int kept = Utf8UnfinishedTail(m_Rbuf->data + start, end - start);
  if (end - kept > start) {
    m_Response->p_Push(m_Rbuf->p_PeekString(start, end - kept - start, String("utf8")));
  }
  m_Rbuf->p_CopyBytes(end - kept, m_Rbuf, 0, kept);
  m_Socket->p_ReceiveAsync(m_Rbuf, kept, kResponseBufferBytes - kept, this);
  return 0;
}

// m_Rbuf[0 .. offset) holds an unfinished header line from earlier receives;
// m_Rbuf[offset .. offset + count) is new.
int c_HttpRequest::ReceiveHeader(int offset, int count) {
  const unsigned char* bytes = m_Rbuf->data;
  int end = offset + count;
  int line_start = 0;
  for (int p = offset; p < end; ++p) {
    if (bytes[p] != '\n') continue;
    String line = m_Rbuf->p_PeekString(line_start, p - line_start, String("ascii")).Trim();
    line_start = p + 1;
    if (!line.IsEmpty()) {
      m_Header->p_Push(line);
      continue;
    }
    if (!StartResponse()) return p_Finish();
    // Body bytes that came with the end of the header are its first piece.
    return ReceiveBody(line_start, end);
  }
  // Keep the unfinished line at the start and read the rest after it. A line
  // that fills the whole buffer leaves a receive of 0 bytes, which ends the request.
  int kept = end - line_start;
  m_Rbuf->p_CopyBytes(line_start, m_Rbuf, 0, kept);
  m_Socket->p_ReceiveAsync(m_Rbuf, kept, kResponseBufferBytes - kept, this);
  return 0;
}

bool c_HttpRequest::StartResponse() {
  if (m_Header->p_Length() == 0) return false;
  Array<String> parts = m_Header->p_Get(0).ToUpper().Split(String(" "));
  if (parts.Length() <= 2 || !parts[0].StartsWith(String("HTTP/"))) return false;
  // A status code is exactly three digits; anything else is a malformed line.
  const String& code = parts[1];
  if (code.Length() != 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (code[i] < '0' || code[i] > '9') return false;
  }
  m_Status = code.ToInt();
  gc_assign(m_Response, (new c_StringStack())->m_new());
  return true;
}

int c_HttpRequest::p_Finish() {
  if (m_Socket) m_Socket->p_Close();
  if (m_Response) m_ResponseText = m_Response->p_Join(String());
  if (m_OnComplete) m_OnComplete->p_OnHttpRequestComplete(this);
  return 0;
}

void c_HttpRequest::mark() {
  gc_mark_field(m_Url);
  gc_mark_field(m_OnComplete);
  gc_mark_field(m_Data);
  gc_mark_field(m_Response);
  gc_mark_field(m_Header);
  gc_mark_field(m_Socket);
  gc_mark_field(m_Wbuf);
  gc_mark_field(m_Rbuf);
}
