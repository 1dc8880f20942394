// net/url.cpp: URL parsing, left to right.
#include "net/url.h"

namespace {

// The index of the first `text` at or after `from` and before `end`, or -1.
int FindBefore(const String& url, const String& text, int from, int end) {
  int at = url.Find(text, from);
  return at >= 0 && at < end ? at : -1;
}

}  // namespace

c_Url* c_Url::m_new(String url, String defaultScheme, int defaultPort) {
  m_DefaultScheme = defaultScheme;
  m_DefaultPort = defaultPort;
  p_Set2(url);
  return this;
}

int c_Url::p_Set2(String url) {
  m_Url = url;
  m_Scheme = m_DefaultScheme;
  m_Username = m_Password = m_Domain = m_Query = m_Fragment = String();
  m_Port = m_DefaultPort;
  m_Path = String("/");

  int length = url.Length();
  int query = url.Find(String("?"));
  int hash = url.Find(String("#"));
  // A "?" after the "#" belongs to the fragment.
  if (query >= 0 && hash >= 0 && query > hash) query = -1;
  int end = query >= 0 ? query : hash >= 0 ? hash : length;

  int pos = 0;
  int scheme = FindBefore(url, String("://"), 0, end);
  if (scheme >= 0) {
    m_Scheme = url.Slice(0, scheme);
    pos = scheme + 3;
  }

  int at = FindBefore(url, String("@"), pos, end);
  if (at >= 0) {
    int colon = FindBefore(url, String(":"), pos, at);
    if (colon >= 0) {
      m_Username = url.Slice(pos, colon);
      m_Password = url.Slice(colon + 1, at);
    } else {
      m_Username = url.Slice(pos, at);
    }
    pos = at + 1;
  }

  int colon = FindBefore(url, String(":"), pos, end);
  int slash = FindBefore(url, String("/"), pos, end);
  if (colon >= 0 && (slash < 0 || colon < slash)) {
    m_Domain = url.Slice(pos, colon);
    m_Port = url.Slice(colon + 1, slash >= 0 ? slash : end).ToInt();
  } else {
    m_Domain = url.Slice(pos, slash >= 0 ? slash : end);
  }
  if (slash >= 0) m_Path = url.Slice(slash, end);

  if (query >= 0) m_Query = url.Slice(query + 1, hash >= 0 ? hash : length);
  if (hash >= 0) m_Fragment = url.Slice(hash + 1, length);
  return 0;
}

String c_Url::p_FullPath() {
  String path = m_Path;
  if (!m_Query.IsEmpty()) path += String("?") + m_Query;
  if (!m_Fragment.IsEmpty()) path += String("#") + m_Fragment;
  return path;
}
