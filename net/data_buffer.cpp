// net/data_buffer.cpp: byte blocks and their string encodings.
#include "net/data_buffer.h"

#include <cstdlib>
#include <cstring>

#include "runtime/startup.h"

namespace {

enum class Encoding { kUtf8, kAscii };

Encoding ParseEncoding(const String& name) {
  if (name == String("utf8")) return Encoding::kUtf8;
  if (name == String("ascii")) return Encoding::kAscii;
  rkError(String("Invalid string encoding:") + name);
}

// The part of [start, start + count) inside [0, size): its length, or 0 when
// the range starts outside.
int Clip(int start, int count, int size) {
  if (start < 0 || start > size || count <= 0) return 0;
  return count < size - start ? count : size - start;
}

String DecodeBytes(const unsigned char* bytes, int count) {
  Char* out;
  String text = String::Uninitialized(count, &out);
  for (int i = 0; i < count; ++i) out[i] = bytes[i];
  return text;
}

// Bytes in the sequence `lead` starts (1 to 3), or 0 when it starts none.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  return 0;
}

// Characters in well-formed UTF-8 of 1- to 3-byte sequences, or -1.
int CountUtf8Chars(const unsigned char* bytes, int count) {
  int chars = 0;
  for (int i = 0; i < count; ++chars) {
    int n = SequenceLength(bytes[i]);
    if (n == 0 || n > count - i) return -1;
    for (int k = 1; k < n; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return -1;
    }
    i += n;
  }
  return chars;
}

// Malformed input comes back undecoded, one character per byte.
String DecodeUtf8(const unsigned char* bytes, int count) {
  int chars = CountUtf8Chars(bytes, count);
  if (chars < 0) return DecodeBytes(bytes, count);
  Char* out;
  String text = String::Uninitialized(chars, &out);
  for (int i = 0; i < count; ++out) {
    unsigned lead = bytes[i];
    int n = SequenceLength(bytes[i]);
    if (n == 1) {
      *out = static_cast<Char>(lead);
    } else if (n == 2) {
      *out = static_cast<Char>((lead & 31) << 6 | (bytes[i + 1] & 63));
    } else {
      *out = static_cast<Char>((lead & 15) << 12 | (bytes[i + 1] & 63) << 6 | (bytes[i + 2] & 63));
    }
    i += n;
  }
  return text;
}

// Encodes each character on its own (surrogate halves too) into out[0..room);
// returns the full encoded length.
int EncodeUtf8(const String& text, unsigned char* out, int room) {
  int used = 0;
  for (int i = 0; i < text.Length(); ++i) {
    unsigned ch = text[i];
    unsigned char sequence[3];
    int n;
    if (ch < 0x80) {
      sequence[0] = static_cast<unsigned char>(ch);
      n = 1;
    } else if (ch < 0x800) {
      sequence[0] = static_cast<unsigned char>(0xC0 | ch >> 6);
      sequence[1] = static_cast<unsigned char>(0x80 | (ch & 63));
      n = 2;
    } else {
      sequence[0] = static_cast<unsigned char>(0xE0 | ch >> 12);
      sequence[1] = static_cast<unsigned char>(0x80 | (ch >> 6 & 63));
      sequence[2] = static_cast<unsigned char>(0x80 | (ch & 63));
      n = 3;
    }
    for (int k = 0; k < n; ++k, ++used) {
      if (used < room) out[used] = sequence[k];
    }
  }
  return used;
}

}  // namespace

int Utf8UnfinishedTail(const unsigned char* bytes, int count) {
  for (int back = 1; back <= 2 && back <= count; ++back) {
    unsigned char byte = bytes[count - back];
    if ((byte & 0xC0) == 0x80) continue;  // a continuation: its lead is further back
    return SequenceLength(byte) > back ? back : 0;
  }
  return 0;
}

bool RkDataBuffer::_New(int size, unsigned char* memory) {
  if (data || size < 0) return false;
  if (!memory && size > 0) {
    memory = static_cast<unsigned char*>(malloc(static_cast<size_t>(size)));
    if (!memory) return false;
    gc_ext_malloced(size);
  }
  data = memory;
  length = size;
  return true;
}

void RkDataBuffer::Discard() {
  free(data);
  data = nullptr;
  length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int size) {
  if (!_New(size)) rkError(String("Allocate DataBuffer failed"));
  return this;
}

int c_DataBuffer::p_PokeString(int address, String text, String encoding) {
  Encoding kind = ParseEncoding(encoding);
  int room = Clip(address, length, length);
  unsigned char* out = room > 0 ? data + address : nullptr;
  if (kind == Encoding::kUtf8) return EncodeUtf8(text, out, room);
  int count = text.Length() < room ? text.Length() : room;
  for (int i = 0; i < count; ++i) out[i] = static_cast<unsigned char>(text[i]);
  return text.Length();
}

String c_DataBuffer::p_PeekString(int address, int count, String encoding) {
  Encoding kind = ParseEncoding(encoding);
  count = Clip(address, count, length);
  if (count == 0) return String();
  if (kind == Encoding::kUtf8) return DecodeUtf8(data + address, count);
  return DecodeBytes(data + address, count);
}

String c_DataBuffer::p_PeekString2(int address, String encoding) {
  // A negative address peeks nothing; length - address could overflow.
  return p_PeekString(address, address < 0 ? 0 : length - address, encoding);
}

int c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* dst, int dstAddress, int count) {
  if (!dst) return 0;
  count = Clip(dstAddress, Clip(address, count, length), dst->length);
  if (count > 0) memmove(dst->data + dstAddress, data + address, static_cast<size_t>(count));
  return 0;
}

int c_DataBuffer::p_PeekBytes(int address, Array<int> bytes, int offset, int count) {
  count = Clip(offset, Clip(address, count, length), bytes.Length());
  for (int i = 0; i < count; ++i) bytes[offset + i] = static_cast<signed char>(data[address + i]);
  return 0;
}

int c_DataBuffer::p_PokeBytes(int address, Array<int> bytes, int offset, int count) {
  count = Clip(offset, Clip(address, count, length), bytes.Length());
  for (int i = 0; i < count; ++i) data[address + i] = static_cast<unsigned char>(bytes[offset + i]);
  return 0;
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
  Array<int> bytes(Clip(address, count, length));
  p_PeekBytes(address, bytes, 0, bytes.Length());
  return bytes;
}
