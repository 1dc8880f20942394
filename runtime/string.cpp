// runtime/string.cpp: the reference-counted 16-bit String and its text, number and file operations.
#include "runtime/string.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "runtime/array.h"
#include "runtime/gc.h"

String::EmptyRep String::emptyRep = {{1, 0}, 0};

static_assert(sizeof(String::Rep) == 8, "a Rep is two 32-bit counts followed by the characters");

namespace {

constexpr int kLoadBlock = 4096;
// ToInt and ToFloat read at most this many characters.
constexpr int kNumberChars = 63;

bool MatchesAt(const Char* text, int length, int index, const Char* find, int findLength) {
  return index + findLength <= length &&
         memcmp(text + index, find, static_cast<size_t>(findLength) * sizeof(Char)) == 0;
}

// First index >= start where `find` (non-empty) occurs, or -1.
int NextOccurrence(const Char* text, int length, int start, const Char* find, int findLength) {
  for (int i = start; i + findLength <= length; ++i) {
    if (MatchesAt(text, length, i, find, findLength)) return i;
  }
  return -1;
}

// Occurrences of `find` (non-empty), searched left to right without overlap.
int CountOccurrences(const String& text, const String& find) {
  int count = 0;
  for (int at = NextOccurrence(text.Data(), text.Length(), 0, find.Data(), find.Length()); at != -1;
       at = NextOccurrence(text.Data(), text.Length(), at + find.Length(), find.Data(), find.Length())) {
    ++count;
  }
  return count;
}

// The low 8 bits of the first 63 characters, NUL-terminated, for atoi and atof.
void CopyNumberText(const String& text, char (&out)[kNumberChars + 1]) {
  int count = text.Length() < kNumberChars ? text.Length() : kNumberChars;
  for (int i = 0; i < count; ++i) out[i] = static_cast<char>(text[i] & 0xFF);
  out[count] = 0;
}

String MapCase(const String& text, wint_t (*map)(wint_t)) {
  int length = text.Length();
  int first = 0;
  while (first < length && static_cast<Char>(map(text[first])) == text[first]) ++first;
  if (first == length) return text;
  Char* out;
  String result = String::Uninitialized(length, &out);
  memcpy(out, text.Data(), static_cast<size_t>(first) * sizeof(Char));
  for (int i = first; i < length; ++i) out[i] = static_cast<Char>(map(text[i]));
  return result;
}

// Bytes in the UTF-8 sequence a lead byte starts: 1 to 3, or 0 when it cannot start one.
int Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  return 0;
}

// Decodes UTF-8 of 1- to 3-byte sequences into `out` (when given); returns the
// character count, or -1 when the bytes are not such UTF-8.
int DecodeUtf8(const unsigned char* bytes, int count, Char* out) {
  int chars = 0;
  for (int i = 0; i < count;) {
    int size = Utf8SequenceLength(bytes[i]);
    if (size == 0 || i + size > count) return -1;
    for (int k = 1; k < size; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return -1;
    }
    if (out) {
      unsigned ch = bytes[i];
      if (size == 2) ch = (ch & 0x1F) << 6 | (bytes[i + 1] & 0x3F);
      if (size == 3) ch = ch << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F);
      out[chars] = static_cast<Char>(ch);
    }
    ++chars;
    i += size;
  }
  return chars;
}

// Whole byte pairs after the 2-byte mark; a final odd byte is dropped.
String DecodeUtf16(const unsigned char* bytes, int count, bool bigEndian) {
  Char* out;
  String result = String::Uninitialized(count / 2, &out);
  for (int i = 0; i < count / 2; ++i) {
    unsigned first = bytes[2 * i], second = bytes[2 * i + 1];
    out[i] = static_cast<Char>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return result;
}

String DecodeLatin1(const unsigned char* bytes, int count) {
  Char* out;
  String result = String::Uninitialized(count, &out);
  for (int i = 0; i < count; ++i) out[i] = bytes[i];
  return result;
}

}  // namespace

// ---- Representation ----

// Text held by a collected object is freed only when the object is, so every
// text buffer paces the collector like the objects themselves.
String::Rep* String::Alloc(int length) {
  if (length <= 0) return &nullRep;
  const size_t bytes = sizeof(Rep) + static_cast<size_t>(length) * sizeof(Char);
  gc_text_new_bytes.fetch_add(static_cast<int>(bytes), std::memory_order_relaxed);
  Rep* rep = static_cast<Rep*>(malloc(bytes));
  rep->refCount = 1;
  rep->length = length;
  return rep;
}

void String::Release(Rep* rep) {
  if (rep == &nullRep) return;
  if (--rep->refCount == 0) free(rep);
}

String& String::operator=(const String& other) {
  Retain(other.rep_);
  Release(rep_);
  rep_ = other.rep_;
  return *this;
}

String& String::operator=(String&& other) noexcept {
  if (this != &other) {
    Release(rep_);
    rep_ = other.rep_;
    other.rep_ = &nullRep;
  }
  return *this;
}

String String::Uninitialized(int length, Char** chars) {
  Rep* rep = Alloc(length);
  if (chars) *chars = rep->data();
  return String(rep);
}

template <class C>
String::CString<C>::CString(const String& s)
    : bytes_(static_cast<C*>(malloc(static_cast<size_t>(s.Length()) + 1))) {
  for (int i = 0; i < s.Length(); ++i) bytes_[i] = static_cast<C>(s[i] & 0xFF);
  bytes_[s.Length()] = 0;
}

template <class C>
String::CString<C>::~CString() {
  free(bytes_);
}

template class String::CString<char>;

// ---- Construction ----

String::String(const Char* chars, int length) : rep_(Alloc(chars ? length : 0)) {
  if (rep_ != &nullRep) memcpy(rep_->data(), chars, static_cast<size_t>(length) * sizeof(Char));
}

String::String(const char* bytes) : rep_(Alloc(bytes ? static_cast<int>(strlen(bytes)) : 0)) {
  Char* out = rep_->data();
  for (int i = 0; i < rep_->length; ++i) out[i] = static_cast<Char>(static_cast<signed char>(bytes[i]));
}

String::String(Char ch) : rep_(Alloc(1)) { rep_->data()[0] = ch; }

String::String(int value) : rep_(&nullRep) {
  char text[16];
  snprintf(text, sizeof text, "%i", value);
  *this = String(text);
}

String::String(float value) : rep_(&nullRep) {
  char text[48];
  snprintf(text, sizeof text - 2, "%.17lg", static_cast<double>(value));
  // Whole numbers keep a visible fraction so the text reads back as a float.
  if (!strchr(text, '.') && !strchr(text, 'e')) strcat(text, ".0");
  *this = String(text);
}

String operator+(const char* left, const String& right) { return String(left) + right; }

// ---- Comparison and concatenation ----

String String::operator+(const String& other) const {
  if (other.IsEmpty()) return *this;
  if (IsEmpty()) return other;
  Char* out;
  String result = Uninitialized(Length() + other.Length(), &out);
  memcpy(out, Data(), static_cast<size_t>(Length()) * sizeof(Char));
  memcpy(out + Length(), other.Data(), static_cast<size_t>(other.Length()) * sizeof(Char));
  return result;
}

String& String::operator+=(const String& other) { return *this = *this + other; }

bool String::operator==(const String& other) const {
  if (rep_ == other.rep_) return true;
  return Length() == other.Length() && MatchesAt(Data(), Length(), 0, other.Data(), other.Length());
}

int String::Compare(const String& other) const {
  int common = Length() < other.Length() ? Length() : other.Length();
  for (int i = 0; i < common; ++i) {
    if ((*this)[i] != other[i]) return static_cast<int>((*this)[i]) - static_cast<int>(other[i]);
  }
  return Length() - other.Length();
}

// ---- Text operations ----

String String::Slice(int from, int to) const {
  int n = Length();
  if (from < 0) {
    from += n;
    if (from < 0) from = 0;
  } else if (from > n) {
    from = n;
  }
  if (to < 0) {
    to += n;
  } else if (to > n) {
    to = n;
  }
  if (to < from) return String();
  if (from == 0 && to == n) return *this;
  return String(Data() + from, to - from);
}

Array<String> String::Split(const String& separator) const {
  if (separator.IsEmpty()) {
    Array<String> chars(Length());
    for (int i = 0; i < Length(); ++i) chars[i] = String((*this)[i]);
    return chars;
  }
  int occurrences = CountOccurrences(*this, separator);
  Array<String> pieces(occurrences + 1);
  if (occurrences == 0) {
    pieces[0] = *this;
    return pieces;
  }
  int start = 0;
  for (int k = 0; k < occurrences; ++k) {
    int at = NextOccurrence(Data(), Length(), start, separator.Data(), separator.Length());
    pieces[k] = Slice(start, at);
    start = at + separator.Length();
  }
  pieces[occurrences] = Slice(start);
  return pieces;
}

String String::Join(const Array<String>& pieces) const {
  int count = pieces.Length();
  if (count == 0) return String();
  if (count == 1) return pieces[0];
  int total = (count - 1) * Length();
  for (int i = 0; i < count; ++i) total += pieces[i].Length();
  Char* out;
  String result = Uninitialized(total, &out);
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      memcpy(out, Data(), static_cast<size_t>(Length()) * sizeof(Char));
      out += Length();
    }
    memcpy(out, pieces[i].Data(), static_cast<size_t>(pieces[i].Length()) * sizeof(Char));
    out += pieces[i].Length();
  }
  return result;
}

String String::Replace(const String& find, const String& with) const {
  if (find.IsEmpty()) return *this;
  int occurrences = CountOccurrences(*this, find);
  if (occurrences == 0) return *this;
  Char* out;
  String result = Uninitialized(Length() + occurrences * (with.Length() - find.Length()), &out);
  int start = 0;
  for (int k = 0; k < occurrences; ++k) {
    int at = NextOccurrence(Data(), Length(), start, find.Data(), find.Length());
    memcpy(out, Data() + start, static_cast<size_t>(at - start) * sizeof(Char));
    out += at - start;
    memcpy(out, with.Data(), static_cast<size_t>(with.Length()) * sizeof(Char));
    out += with.Length();
    start = at + find.Length();
  }
  memcpy(out, Data() + start, static_cast<size_t>(Length() - start) * sizeof(Char));
  return result;
}

String String::ToUpper() const { return MapCase(*this, towupper); }

String String::ToLower() const { return MapCase(*this, towlower); }

String String::Trim() const {
  int from = 0, to = Length();
  while (from < to && (*this)[from] <= ' ') ++from;
  while (to > from && (*this)[to - 1] <= ' ') --to;
  return Slice(from, to);
}

// ---- Searching ----

int String::Find(const String& text, int start) const {
  if (start < 0) start = 0;
  if (start > Length()) return -1;
  if (text.IsEmpty()) return start;
  return NextOccurrence(Data(), Length(), start, text.Data(), text.Length());
}

int String::FindLast(const String& text) const { return FindLast(text, Length()); }

// Occurrences are found left to right without overlap, as everywhere else;
// the last of them that begins at or before `start` is the answer.
int String::FindLast(const String& text, int start) const {
  if (start < 0) return -1;
  if (start > Length()) start = Length();
  if (text.IsEmpty()) return start;
  int last = -1;
  for (int at = Find(text); at != -1 && at <= start; at = Find(text, at + text.Length())) last = at;
  return last;
}

bool String::StartsWith(const String& text) const {
  return MatchesAt(Data(), Length(), 0, text.Data(), text.Length());
}

bool String::EndsWith(const String& text) const {
  return text.Length() <= Length() &&
         MatchesAt(Data(), Length(), Length() - text.Length(), text.Data(), text.Length());
}

// ---- Numbers ----

int String::ToInt() const {
  char text[kNumberChars + 1];
  CopyNumberText(*this, text);
  return atoi(text);
}

float String::ToFloat() const {
  char text[kNumberChars + 1];
  CopyNumberText(*this, text);
  return static_cast<float>(atof(text));
}

// ---- Bytes and files ----

int String::EncodeUtf8(const String& text, unsigned char** buffer, int* capacity, int used) {
  if (!buffer || !capacity || used < 0) return used;
  int needed = used + 3 * text.Length();
  if (needed > *capacity) {
    int grown = needed > *capacity * 2 ? needed : *capacity * 2;
    void* bigger = realloc(*buffer, static_cast<size_t>(grown));
    if (!bigger) return used;
    *buffer = static_cast<unsigned char*>(bigger);
    *capacity = grown;
  }
  unsigned char* out = *buffer + used;
  for (int i = 0; i < text.Length(); ++i) {
    unsigned ch = text[i];
    if (ch < 0x80) {
      *out++ = static_cast<unsigned char>(ch);
    } else if (ch < 0x800) {
      *out++ = static_cast<unsigned char>(0xC0 | ch >> 6);
      *out++ = static_cast<unsigned char>(0x80 | (ch & 0x3F));
    } else {
      *out++ = static_cast<unsigned char>(0xE0 | ch >> 12);
      *out++ = static_cast<unsigned char>(0x80 | (ch >> 6 & 0x3F));
      *out++ = static_cast<unsigned char>(0x80 | (ch & 0x3F));
    }
  }
  return static_cast<int>(out - *buffer);
}

String String::Load(FILE* file) {
  if (!file) return String();
  unsigned char* bytes = nullptr;
  int count = 0, capacity = 0;
  for (;;) {
    if (count + kLoadBlock > capacity) {
      int grown = capacity * 2 > count + kLoadBlock ? capacity * 2 : count + kLoadBlock;
      void* bigger = realloc(bytes, static_cast<size_t>(grown));
      if (!bigger) break;
      bytes = static_cast<unsigned char*>(bigger);
      capacity = grown;
    }
    size_t got = fread(bytes + count, 1, kLoadBlock, file);
    count += static_cast<int>(got);
    if (got < static_cast<size_t>(kLoadBlock)) break;
  }
  String text = Decode(bytes, count);
  free(bytes);
  return text;
}

String String::Decode(const unsigned char* bytes, int count) {
  if (!bytes || count <= 0) return String();
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return DecodeUtf16(bytes + 2, count - 2, true);
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return DecodeUtf16(bytes + 2, count - 2, false);
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    count -= 3;
  }
  int length = DecodeUtf8(bytes, count, nullptr);
  if (length < 0) return DecodeLatin1(bytes, count);
  Char* out;
  String text = Uninitialized(length, &out);
  DecodeUtf8(bytes, count, out);
  return text;
}
