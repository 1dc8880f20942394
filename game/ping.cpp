// game/ping.cpp: the usage ping, one asynchronous GET at start-up when allowed.
#include "game/app.h"
#include "runtime/startup.h"

int c_MyApp::p_GetURL(String url, String query) {
  m_HttpResponse = String("N/A");
  c_HttpRequest* request = (new c_HttpRequest())->m_new();
  request->p_Open(String("GET"), url + String("?") + query, this);
  gc_assign(m_HttpRequest, request);
  request->p_Send();
  rkPrint(String("Requesting URL"));
  m_HttpDone = 0;
  return 0;
}

int c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
  if (request != m_HttpRequest) return 0;
  rkPrint(String("Http GET complete! ") + String(request->p_Status()));
  m_HttpDone = 1;
  m_HttpResponse = request->p_ResponseText();
  if (!m_HttpResponse.IsEmpty()) rk_Game_J_On_Able = 1;
  return 0;
}
