// tests/net/url_test.cpp: URL parsing and the full path.
#include "net/url.h"

#include <ostream>
#include <tuple>

#include "tests/net/net_test.h"

namespace {

struct Parts {
  std::string scheme, username, password, domain;
  int port;
  std::string path, query, fragment, full_path;
  bool operator==(const Parts& o) const {
    return std::tie(scheme, username, password, domain, port, path, query, fragment, full_path) ==
           std::tie(o.scheme, o.username, o.password, o.domain, o.port, o.path, o.query, o.fragment,
                    o.full_path);
  }
};

void PrintTo(const Parts& p, std::ostream* out) {
  *out << "{" << p.scheme << " | " << p.username << " | " << p.password << " | " << p.domain
       << " | " << p.port << " | " << p.path << " | " << p.query << " | " << p.fragment << " | "
       << p.full_path << "}";
}

class UrlTest : public NetTest {
 protected:
  Parts Parse(const char* url) {
    c_Url* parsed = Keep((new c_Url())->m_new(String(url), String("http"), 80));
    return Parts{
        Narrow(parsed->m_Scheme),   Narrow(parsed->m_Username), Narrow(parsed->m_Password),
        Narrow(parsed->p_Domain()), parsed->p_Port(),           Narrow(parsed->m_Path),
        Narrow(parsed->m_Query),    Narrow(parsed->m_Fragment), Narrow(parsed->p_FullPath())};
  }
};

// Every part of the parsed URL, then its full path.
#define EXPECT_PARTS(url, ...) EXPECT_EQ(Parse(url), (Parts{__VA_ARGS__})) << url

TEST_F(UrlTest, SplitsEveryPart) {
  EXPECT_PARTS("http://h:8080/a/b?x=1#f", "http", "", "", "h", 8080, "/a/b", "x=1", "f",
               "/a/b?x=1#f");
  EXPECT_PARTS("ftp://u:p@h/", "ftp", "u", "p", "h", 80, "/", "", "", "/");
  EXPECT_PARTS("http://u@h:21", "http", "u", "", "h", 21, "/", "", "", "/");
}

TEST_F(UrlTest, BareHostTakesTheDefaults) {
  EXPECT_PARTS("h", "http", "", "", "h", 80, "/", "", "", "/");
  EXPECT_PARTS("", "http", "", "", "", 80, "/", "", "", "/");
}

TEST_F(UrlTest, QuestionMarkAfterTheHashBelongsToTheFragment) {
  EXPECT_PARTS("http://h/p#f?x", "http", "", "", "h", 80, "/p", "", "f?x", "/p#f?x");
  EXPECT_PARTS("h?q=1", "http", "", "", "h", 80, "/", "q=1", "", "/?q=1");
  EXPECT_PARTS("h/p?a=1?b#", "http", "", "", "h", 80, "/p", "a=1?b", "", "/p?a=1?b");
}

TEST_F(UrlTest, SeparatorsInQueryOrFragmentDoNotSplitTheAddress) {
  EXPECT_PARTS("h?u=a@b:1/c", "http", "", "", "h", 80, "/", "u=a@b:1/c", "", "/?u=a@b:1/c");
  EXPECT_PARTS("h#x://y", "http", "", "", "h", 80, "/", "", "x://y", "/#x://y");
}

TEST_F(UrlTest, ColonAfterTheSlashIsPartOfThePath) {
  EXPECT_PARTS("h/a:b", "http", "", "", "h", 80, "/a:b", "", "", "/a:b");
}

TEST_F(UrlTest, PortTakesItsLeadingDigitsOnly) {
  EXPECT_EQ(Parse("h:81x/").port, 81);
  EXPECT_EQ(Parse("h:/p").port, 0);
  EXPECT_EQ(Parse("h:abc").port, 0);
  EXPECT_EQ(Parse("h:99999999999999999999").domain, "h");
}

TEST_F(UrlTest, ParsingAgainResetsEveryPart) {
  c_Url* url = Keep((new c_Url())->m_new(String("https://u:p@h:1/p?q#f"), String("gopher"), 70));
  url->p_Set2(String("other"));
  EXPECT_EQ(Narrow(url->m_Url), "other");
  EXPECT_EQ(Narrow(url->m_Scheme), "gopher");
  EXPECT_EQ(Narrow(url->m_Username), "");
  EXPECT_EQ(Narrow(url->m_Password), "");
  EXPECT_EQ(url->p_Port(), 70);
  EXPECT_EQ(Narrow(url->p_FullPath()), "/");
}

}  // namespace
