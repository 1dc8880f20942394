// tests/runtime/string_test.cpp: String representation, text operations, numbers and file decoding.
#include <malloc.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

std::u16string Text(const String& s) { return std::u16string(s.Data(), s.Length()); }
String Make(const std::u16string& s) { return String(s.data(), static_cast<int>(s.size())); }

std::vector<std::u16string> Texts(const Array<String>& pieces) {
  std::vector<std::u16string> out;
  for (int i = 0; i < pieces.Length(); ++i) out.push_back(Text(pieces[i]));
  return out;
}

bool IsNullRep(const String& s) { return s.SharesRepWith(String()); }

String LoadBytes(const std::vector<unsigned char>& bytes) {
  FILE* file = tmpfile();
  if (!file) return String("tmpfile failed");
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  rewind(file);
  String text = String::Load(file);
  fclose(file);
  return text;
}

std::vector<unsigned char> Utf8(const String& s) {
  unsigned char* buffer = nullptr;
  int capacity = 0;
  int used = String::EncodeUtf8(s, &buffer, &capacity, 0);
  std::vector<unsigned char> bytes(buffer, buffer + used);
  free(buffer);
  return bytes;
}

}  // namespace

TEST(StringSlice, ClampsBothEnds) {
  String s("abcdef");
  EXPECT_EQ(Text(s.Slice(1, 3)), u"bc");
  EXPECT_EQ(Text(s.Slice(-2, 6)), u"ef");
  EXPECT_EQ(Text(s.Slice(2, -1)), u"cde");
  EXPECT_EQ(Text(s.Slice(-10, 2)), u"ab");
  EXPECT_EQ(Text(s.Slice(-2)), u"ef");
  EXPECT_TRUE(s.Slice(0, 6).SharesRepWith(s));
  EXPECT_TRUE(s.Slice(0, 60).SharesRepWith(s));
  for (auto [from, to] : std::vector<std::pair<int, int>>{{4, 2}, {9, 10}, {3, 3}, {2, -10}}) {
    EXPECT_TRUE(IsNullRep(s.Slice(from, to))) << from << ".." << to;
  }
}

TEST(StringSplitJoin, PiecesAndSeparators) {
  using V = std::vector<std::u16string>;
  EXPECT_EQ(Texts(String("a,,b").Split(",")), (V{u"a", u"", u"b"}));
  EXPECT_EQ(Texts(String(",a,").Split(",")), (V{u"", u"a", u""}));
  EXPECT_EQ(Texts(String("abc").Split("")), (V{u"a", u"b", u"c"}));
  EXPECT_EQ(Texts(String("").Split(",")), (V{u""}));
  EXPECT_EQ(String("").Split("").Length(), 0);
  EXPECT_EQ(Texts(String("x--y----").Split("--")), (V{u"x", u"y", u"", u""}));
  EXPECT_EQ(Texts(String("aaa").Split("aa")), (V{u"", u"a"}));
  String whole("no separator");
  EXPECT_TRUE(whole.Split(",")[0].SharesRepWith(whole));

  String comma(",");
  EXPECT_TRUE(IsNullRep(comma.Join(Array<String>())));
  Array<String> one(1);
  one[0] = String("x");
  EXPECT_TRUE(comma.Join(one).SharesRepWith(one[0]));
  EXPECT_EQ(Text(comma.Join(String("a,b,,c").Split(","))), u"a,b,,c");
  EXPECT_EQ(Text(String("").Join(String("a b").Split(" "))), u"ab");
  EXPECT_TRUE(IsNullRep(String("").Join(String(",").Split(","))));
}

TEST(StringReplace, NonOverlappingLeftToRight) {
  EXPECT_EQ(Text(String("aaa").Replace("aa", "b")), u"ba");
  EXPECT_EQ(Text(String("a.b.c").Replace(".", "::")), u"a::b::c");
  EXPECT_EQ(Text(String("<x><x>").Replace("<x>", "")), u"");
  EXPECT_TRUE(IsNullRep(String("aa").Replace("a", "")));
  String s("unchanged");
  EXPECT_TRUE(s.Replace("z", "y").SharesRepWith(s));
  EXPECT_TRUE(s.Replace("", "y").SharesRepWith(s));
}

TEST(StringSearch, FindAndAffixes) {
  String s("abcabc");
  EXPECT_EQ(s.Find("ca"), 2);
  EXPECT_EQ(s.Find("abc", 1), 3);
  EXPECT_EQ(s.Find("abc", -5), 0);
  EXPECT_EQ(s.Find("abc", 7), -1);
  EXPECT_EQ(s.Find("x"), -1);
  EXPECT_EQ(s.FindLast("abc"), 3);
  EXPECT_EQ(s.FindLast("abc", 2), 0);
  EXPECT_EQ(s.FindLast("abc", -1), -1);
  EXPECT_EQ(String("aaa").FindLast("aa"), 0);  // occurrences never overlap
  EXPECT_TRUE(s.Contains("bca"));
  EXPECT_TRUE(s.StartsWith("ab") && s.EndsWith("bc") && s.StartsWith("") && s.EndsWith(""));
  EXPECT_FALSE(s.StartsWith("bc") || s.EndsWith("ab") || String("bc").EndsWith("abc"));
  EXPECT_TRUE(String("aaa").EndsWith("aa"));
}

TEST(StringCompare, EqualityAndOrdering) {
  EXPECT_TRUE(String("abc") == String("ab") + String("c"));
  EXPECT_TRUE(String("abc") != String("abd"));
  EXPECT_TRUE(String("ab") != String("abc"));
  EXPECT_LT(String("ab").Compare("abc"), 0);
  EXPECT_GT(String("b").Compare("abc"), 0);
  EXPECT_EQ(String("abc").Compare("abc"), 0);
  EXPECT_TRUE(String("a") < Make(u"\uFF00"));  // characters compare unsigned
}

TEST(StringConstruct, BytesCharsAndViews) {
  EXPECT_EQ(Text(String("A\xE9")), std::u16string(u"A\uFFE9"));  // bytes are sign-extended
  EXPECT_TRUE(IsNullRep(String(static_cast<const char*>(nullptr))));
  EXPECT_TRUE(IsNullRep(String(u"abc", 0)));
  EXPECT_TRUE(IsNullRep(String(u"abc", -1)));
  EXPECT_EQ(Text(String(u"abc", 2)), u"ab");
  EXPECT_EQ(Text(String(Char(0x20AC))), u"\u20AC");
  EXPECT_STREQ(String::CString<char>(Make(u"A\u0142z")).c_str(), "ABz");  // low 8 bits
  EXPECT_STREQ(String::CString<char>(String()).c_str(), "");
  EXPECT_EQ(Text("x=" + String(5)), u"x=5");
  String grown("a");
  grown += String("b");
  grown += String();
  EXPECT_EQ(Text(grown), u"ab");
}

TEST(StringNumbers, FormattingAndParsing) {
  EXPECT_EQ(Text(String(3.0f)), u"3.0");
  EXPECT_EQ(Text(String(0.5f)), u"0.5");
  EXPECT_EQ(Text(String(-1.0f)), u"-1.0");
  EXPECT_EQ(Text(String(0.1f)), u"0.10000000149011612");
  EXPECT_EQ(Text(String(1e20f)), u"1.0000000200408773e+20");
  EXPECT_EQ(Text(String(-2)), u"-2");
  EXPECT_EQ(Text(String(-2147483647 - 1)), u"-2147483648");

  EXPECT_EQ(String(" 42abc").ToInt(), 42);
  EXPECT_EQ(String("abc").ToInt(), 0);
  EXPECT_EQ(String("-17").ToInt(), -17);
  EXPECT_EQ(Make(u"\u0134\u0132").ToInt(), 42);  // each character cut to 8 bits
  // 62 zeros, a 1, then seven more digits: only the first 63 characters count.
  EXPECT_EQ(String((std::string(62, '0') + "12345678").c_str()).ToInt(), 1);
  EXPECT_FLOAT_EQ(String("2.5x").ToFloat(), 2.5f);
  EXPECT_FLOAT_EQ(String(" -1e3").ToFloat(), -1000.0f);
  EXPECT_EQ(String("z").ToFloat(), 0.0f);
}

TEST(StringCase, UpperLowerAndTrim) {
  EXPECT_EQ(Text(String("Hello, World 9").ToUpper()), u"HELLO, WORLD 9");
  EXPECT_EQ(Text(String("Hello, World 9").ToLower()), u"hello, world 9");
  String upper("ABC");
  EXPECT_TRUE(upper.ToUpper().SharesRepWith(upper));
  const char* previous = setlocale(LC_CTYPE, nullptr);
  std::string saved = previous ? previous : "C";
  if (setlocale(LC_CTYPE, "C.UTF-8")) {
    EXPECT_EQ(Text(Make(u"\u00E9a\u03B1").ToUpper()), u"\u00C9A\u0391");
    EXPECT_EQ(Text(Make(u"\u00C9\u0391").ToLower()), u"\u00E9\u03B1");
  }
  setlocale(LC_CTYPE, saved.c_str());

  EXPECT_EQ(Text(String(" \t a b\n\x01").Trim()), u"a b");
  EXPECT_TRUE(IsNullRep(String(" \r\n ").Trim()));
  String tight("x y");
  EXPECT_TRUE(tight.Trim().SharesRepWith(tight));
}

TEST(StringSharing, EmptyAndUnchangedResultsAllocateNothing) {
  String a("abc");
  EXPECT_TRUE((a + String()).SharesRepWith(a));
  EXPECT_TRUE((String() + a).SharesRepWith(a));
  EXPECT_TRUE(IsNullRep(String() + String("")));
  EXPECT_TRUE(IsNullRep(String().ToUpper()));
  EXPECT_TRUE(IsNullRep(String::Decode(nullptr, 4)));
  EXPECT_TRUE(IsNullRep(String::Load(nullptr)));
}

// Lengths that are multiples of 8 make glibc's usable size equal the request
// exactly (and under ASan it is always the request), so this checks the size.
TEST(StringSharing, NewRepIsExactlyHeaderPlusCharacters) {
  for (int length : {8, 64, 1000}) {
    Char* chars;
    String s = String::Uninitialized(length, &chars);
    EXPECT_EQ(reinterpret_cast<char*>(chars), reinterpret_cast<const char*>(s.Data()));
    const void* block = reinterpret_cast<const char*>(s.Data()) - 8;
    EXPECT_EQ(malloc_usable_size(const_cast<void*>(block)), 8u + 2u * length) << length;
    String joined = s + s;
    const void* joinedBlock = reinterpret_cast<const char*>(joined.Data()) - 8;
    EXPECT_EQ(malloc_usable_size(const_cast<void*>(joinedBlock)), 8u + 4u * length);
  }
}

TEST(StringLifetime, CopiesAndMovesShareSafely) {
  String original = String("abc") + String("def");
  {
    String copy = original;
    String moved = std::move(copy);
    EXPECT_TRUE(IsNullRep(copy));  // NOLINT: a moved-from string is empty
    String assigned;
    assigned = moved;
    String& alias = assigned;
    assigned = alias;
    assigned = std::move(alias);
    EXPECT_TRUE(assigned.SharesRepWith(original));
    moved = String("other");
    std::vector<String> many(50, original);
    many.resize(200);
  }
  EXPECT_EQ(Text(original), u"abcdef");
  String last = std::move(original);
  original = String();
  EXPECT_EQ(Text(last), u"abcdef");
  for (int i = 0; i < 1000; ++i) {
    String empty;
    String copy = empty;
    String taken = std::move(copy);
  }
  EXPECT_EQ(String().Length(), 0);
}

TEST(StringEncode, Utf8OneCharacterAtATime) {
  using B = std::vector<unsigned char>;
  EXPECT_EQ(Utf8(Make(u"A\u00E9")), (B{0x41, 0xC3, 0xA9}));
  EXPECT_EQ(Utf8(Make(u"\u20AC")), (B{0xE2, 0x82, 0xAC}));
  EXPECT_EQ(Utf8(Make(u"\uFFFF")), (B{0xEF, 0xBF, 0xBF}));
  EXPECT_EQ(Utf8(Make(u"\u007F\u0080\u07FF\u0800")), (B{0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80}));
  EXPECT_EQ(Utf8(Make(u"\U0001F600")), (B{0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));  // no pairs combined

  unsigned char* buffer = nullptr;
  int capacity = 0;
  int used = String::EncodeUtf8(String("ab"), &buffer, &capacity, 0);
  used = String::EncodeUtf8(Make(u"\u00E9"), &buffer, &capacity, used);
  ASSERT_EQ(used, 4);
  EXPECT_EQ(B(buffer, buffer + used), (B{'a', 'b', 0xC3, 0xA9}));
  EXPECT_GE(capacity, used);
  free(buffer);

  // Every 16-bit unit survives the trip through UTF-8 and back.
  std::u16string all(u"A");
  for (int ch = 0; ch <= 0xFFFF; ++ch) all.push_back(static_cast<char16_t>(ch));
  std::vector<unsigned char> bytes = Utf8(Make(all));
  EXPECT_EQ(Text(String::Decode(bytes.data(), static_cast<int>(bytes.size()))), all);
}

TEST(StringLoad, EveryByteCase) {
  struct Case {
    std::vector<unsigned char> bytes;
    std::u16string text;
  };
  const std::vector<Case> cases = {
      {{}, u""},
      {{0x41, 0xC3, 0xA9}, u"A\u00E9"},
      {{0xE2, 0x82, 0xAC, 0x41}, u"\u20ACA"},
      {{0x41, 0xE9, 0x42}, u"A\u00E9B"},                   // invalid UTF-8: Latin-1
      {{0xFF, 0xFE, 0x41, 0x00}, u"A"},                     // UTF-16 LE
      {{0xFE, 0xFF, 0x00, 0x41, 0x20, 0xAC}, u"A\u20AC"},   // UTF-16 BE
      {{0xFE, 0xFF, 0x00, 0x41, 0x00}, u"A"},               // odd byte dropped
      {{0xFF, 0xFE, 0x41}, u""},
      {{0xEF, 0xBB, 0xBF}, u""},
      {{0xEF, 0xBB, 0xBF, 0x41, 0xC3, 0xA9}, u"A\u00E9"},
      {{0xEF, 0xBB, 0xBF, 0x80, 0x41}, u"\u0080A"},         // Latin-1 from after the mark
      {{0xEF, 0xBB}, u"\u00EF\u00BB"},
      {{0xF0, 0x9F, 0x98, 0x80}, u"\u00F0\u009F\u0098\u0080"},  // 4-byte lead
      {{0x41, 0xE2, 0x82}, u"A\u00E2\u0082"},               // cut short at the end
      {{0xC3, 0x41}, u"\u00C3A"},                           // bad following byte
      {{0xFE}, u"\u00FE"},
      {{0xC0, 0x80, 0xED, 0xA0, 0x80}, std::u16string{0, 0xD800}},  // accepted as decoded
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    String loaded = LoadBytes(c.bytes);
    EXPECT_EQ(Text(loaded), c.text);
    EXPECT_EQ(Text(String::Decode(c.bytes.data(), static_cast<int>(c.bytes.size()))), c.text);
    if (c.text.empty()) {
      EXPECT_TRUE(IsNullRep(loaded));
    }
  }
}

TEST(StringLoad, FilesAcrossReadBlocks) {
  for (size_t size : {4096u, 4097u, 8192u, 10000u}) {
    std::vector<unsigned char> bytes(size, 'a');
    size_t lead = size > 4096 ? 4095 : 4094;  // straddles the first block boundary when it can
    bytes[lead] = 0xC3;
    bytes[lead + 1] = 0xA9;
    std::u16string expected(size - 1, u'a');
    expected[lead] = 0xE9;
    EXPECT_TRUE(Text(LoadBytes(bytes)) == expected) << size;

    bytes.push_back(0x80);  // a stray continuation byte at the very end makes it all Latin-1
    String latin1 = LoadBytes(bytes);
    ASSERT_EQ(latin1.Length(), static_cast<int>(size) + 1) << size;
    EXPECT_EQ(latin1[lead], 0xC3);
    EXPECT_EQ(latin1[latin1.Length() - 1], 0x80);
  }
}
