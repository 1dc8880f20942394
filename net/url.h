// net/url.h: a URL split into scheme, user, host, port, path, query and fragment.
#pragma once

#include "runtime/gc.h"

class c_Url : public Object {
 public:
  String m_DefaultScheme;
  int m_DefaultPort = 0;
  String m_Url;
  String m_Scheme;
  String m_Username;
  String m_Password;
  String m_Domain;
  int m_Port = 0;
  // Includes its leading "/".
  String m_Path;
  // Without the "?" and "#" that introduce them.
  String m_Query;
  String m_Fragment;

  c_Url* m_new(String url, String defaultScheme, int defaultPort);
  // Parses url; the parts it does not name take their defaults.
  int p_Set2(String url);
  // The path, then "?" and the query and "#" and the fragment when they are not empty.
  String p_FullPath();
  String p_Domain() { return m_Domain; }
  int p_Port() { return m_Port; }
};
