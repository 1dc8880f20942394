// runtime/string.h: the one text type, an immutable, reference-counted
// sequence of 16-bit characters.
//
// A String is a value holding a counted pointer to a shared Rep. Reps are
// plain heap blocks (not collected), one malloc of exactly 8 + 2 x length
// bytes each. Every empty result is the one shared nullRep, which is never
// freed. Counts are not atomic: a String belongs to one thread at a time.
#pragma once

#include <cstdio>
#include <cstdint>

using Char = char16_t;

template <class T> class Array;

class String {
 public:
  struct Rep {
    int refCount;
    int length;
    Char* data() { return reinterpret_cast<Char*>(this + 1); }
    const Char* data() const { return reinterpret_cast<const Char*>(this + 1); }
  };
  // The one empty representation, with room for a character after it, so
  // that data() of an empty string points into an object like any other's.
  struct EmptyRep {
    Rep rep;
    Char end;
  };
  static EmptyRep emptyRep;
  static constexpr Rep& nullRep = emptyRep.rep;

  // A NUL-terminated copy of the low 8 bits of each character, freed with the view.
  template <class C> class CString {
   public:
    explicit CString(const String& s);
    ~CString();
    CString(const CString&) = delete;
    CString& operator=(const CString&) = delete;
    operator const C*() const { return bytes_; }
    const C* c_str() const { return bytes_; }

   private:
    C* bytes_;
  };

  String() : rep_(&nullRep) {}
  String(const String& other) : rep_(other.rep_) { Retain(rep_); }
  String(String&& other) noexcept : rep_(other.rep_) { other.rep_ = &nullRep; }
  String& operator=(const String& other);
  String& operator=(String&& other) noexcept;
  ~String() { Release(rep_); }

  String(const Char* chars, int length);
  // One character per byte, each byte sign-extended (0x80..0xFF become 0xFF80..0xFFFF).
  String(const char* bytes);  // NOLINT: literals convert implicitly on purpose
  explicit String(Char ch);
  explicit String(int value);
  explicit String(float value);

  int Length() const { return rep_->length; }
  Char operator[](int index) const { return rep_->data()[index]; }
  const Char* Data() const { return rep_->data(); }
  bool IsEmpty() const { return rep_->length == 0; }
  // True when both values share one representation (the allocation-free paths).
  bool SharesRepWith(const String& other) const { return rep_ == other.rep_; }

  String operator+(const String& other) const;
  String& operator+=(const String& other);
  bool operator==(const String& other) const;
  bool operator!=(const String& other) const { return !(*this == other); }
  bool operator<(const String& other) const { return Compare(other) < 0; }
  // Character-wise ordering, then by length.
  int Compare(const String& other) const;

  String Slice(int from) const { return Slice(from, Length()); }
  String Slice(int from, int to) const;
  Array<String> Split(const String& separator) const;
  String Join(const Array<String>& pieces) const;
  String Replace(const String& find, const String& with) const;
  String ToUpper() const;
  String ToLower() const;
  String Trim() const;

  // Index of the first occurrence at or after start, or -1.
  int Find(const String& text, int start = 0) const;
  // Index of the last occurrence that begins at or before start (default: anywhere), or -1.
  int FindLast(const String& text) const;
  int FindLast(const String& text, int start) const;
  bool Contains(const String& text) const { return Find(text) != -1; }
  bool StartsWith(const String& text) const;
  bool EndsWith(const String& text) const;

  int ToInt() const;
  float ToFloat() const;

  // UTF-8, each 16-bit character on its own (no surrogate pairs combined).
  // Appends to buffer[0..*used) growing it with realloc; returns the new used count.
  static int EncodeUtf8(const String& text, unsigned char** buffer, int* capacity, int used);
  // The whole of an open file, decoded: UTF-16 by byte-order mark, else UTF-8, else ISO 8859-1.
  static String Load(FILE* file);
  // The same decoding applied to bytes in memory.
  static String Decode(const unsigned char* bytes, int count);

  // Builds a string of `length` characters whose storage the caller then fills.
  static String Uninitialized(int length, Char** chars);

 private:
  explicit String(Rep* rep) : rep_(rep) {}
  // nullRep's count is left alone: it is never freed, and this keeps it from overflowing.
  static void Retain(Rep* rep) {
    if (rep != &nullRep) ++rep->refCount;
  }
  static void Release(Rep* rep);
  static Rep* Alloc(int length);

  Rep* rep_;
};

String operator+(const char* left, const String& right);
