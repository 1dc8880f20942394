// net/data_buffer.h: a block of bytes with string and byte transfers.
//
// Every transfer is clipped to the buffer (and to the array it reads or
// fills): a range that starts outside transfers nothing, one that runs past
// the end stops there. Strings are encoded as "utf8" or "ascii"; any other
// encoding name is the fatal error "Invalid string encoding:" + name.
#pragma once

#include "runtime/array.h"
#include "runtime/gc.h"

// How many bytes at the end of bytes[0 .. count) begin a UTF-8 sequence that
// the range cuts short (0 to 2): data that arrives in pieces can end inside a character.
int Utf8UnfinishedTail(const unsigned char* bytes, int count);

class RkDataBuffer : public Object {
 public:
  unsigned char* data = nullptr;
  int length = 0;

  ~RkDataBuffer() override { Discard(); }
  // Takes `memory` (length bytes, from malloc) or allocates length bytes.
  // False when the buffer already owns memory or the block cannot be had.
  bool _New(int length, unsigned char* memory = nullptr);
  // The whole file through the host's data loading; false when it cannot be read.
  bool _Load(String path);
  // Frees the block; the length becomes 0.
  void Discard();
  int Length() { return length; }
};

class c_DataBuffer : public RkDataBuffer {
 public:
  // Allocates length bytes of undefined contents; fatal "Allocate DataBuffer
  // failed" when the buffer already owns memory or the allocation fails.
  c_DataBuffer* m_new(int length);
  // The file at `path`, or null.
  static c_DataBuffer* m_Load(String path);

  int p_Length() { return length; }
  // Writes what fits; returns the full encoded length even when it was cut.
  int p_PokeString(int address, String text, String encoding);
  String p_PeekString(int address, int count, String encoding);
  String p_PeekString2(int address, String encoding);
  // Overlapping moves within one buffer are safe.
  int p_CopyBytes(int address, c_DataBuffer* dst, int dstAddress, int count);
  // Bytes read as signed 8-bit values, written as their low 8 bits.
  int p_PeekBytes(int address, Array<int> bytes, int offset, int count);
  int p_PokeBytes(int address, Array<int> bytes, int offset, int count);
  Array<int> p_PeekBytes2(int address, int count);
};
