// audio/decode.cpp: the WAVE chunk reader and the Ogg Vorbis decoder.
#include "audio/decode.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "audio/vorbis_decoder.h"

namespace {

// Little-endian value of `count` bytes, or -1 when the file ends first.
int ReadLittleEndian(FILE* file, int count) {
  unsigned char bytes[4];
  if (fread(bytes, 1, count, file) != static_cast<size_t>(count)) return -1;
  unsigned int value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return static_cast<int>(value);
}

// Bytes between the read position and the end, or -1 when the stream cannot seek.
long RemainingBytes(FILE* file) {
  long here = ftell(file);
  if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
  long end = ftell(file);
  if (fseek(file, here, SEEK_SET) != 0 || end < here) return -1;
  return end - here;
}

void SkipBytes(FILE* file, long count) {
  char scratch[256];
  while (count > 0) {
    size_t want = count < static_cast<long>(sizeof scratch) ? count : sizeof scratch;
    size_t got = fread(scratch, 1, want, file);
    if (got == 0) return;
    count -= static_cast<long>(got);
  }
}

// Exactly `size` bytes in a new block, or null when the file ends first. The
// block grows as bytes arrive, so even a stream that cannot tell its length
// never makes us allocate more than it really holds (times two).
unsigned char* ReadBlock(FILE* file, int size) {
  size_t want = static_cast<size_t>(size);
  size_t capacity = want < (1u << 20) ? want : (1u << 20);
  unsigned char* block = static_cast<unsigned char*>(malloc(capacity ? capacity : 1));
  size_t got = 0;
  while (block && got < want) {
    if (got == capacity) {
      capacity = capacity * 2 < want ? capacity * 2 : want;
      unsigned char* grown = static_cast<unsigned char*>(realloc(block, capacity));
      if (!grown) break;
      block = grown;
    }
    size_t n = fread(block + got, 1, capacity - got, file);
    if (n == 0) break;
    got += n;
  }
  if (got == want) return block;
  free(block);
  return nullptr;
}

bool TagIs(const char* tag, const char* expected) { return strcmp(tag, expected) == 0; }

// RIFF pads a chunk of odd size with a zero byte. A writer that leaves the
// pad out puts the next tag there instead, which never starts with a zero:
// that byte is put back.
void SkipPadByte(FILE* file, int chunkSize) {
  if (chunkSize % 2 == 0) return;
  int next = getc(file);
  if (next != 0 && next != EOF) ungetc(next, file);
}

constexpr int kFormatPcm = 1;
constexpr int kFormatExtensible = 0xFFFE;

// The part of an EXTENSIBLE "fmt " chunk after the 16 bytes of PCM fields:
// the extension's size, valid bits and channel mask, then the sub-format.
constexpr int kExtensionBytes = 24;
constexpr unsigned char kPcmSubFormat[16] = {1, 0, 0, 0, 0, 0, 0x10, 0,
                                             0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

bool SubFormatIsPcm(FILE* file) {
  unsigned char extension[kExtensionBytes];
  if (fread(extension, 1, sizeof extension, file) != sizeof extension) return false;
  return memcmp(extension + 8, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
}

}  // namespace

const char* readTag(FILE* file) {
  static char tag[5];
  if (fread(tag, 1, 4, file) != 4) {
    tag[0] = 0;
  } else {
    tag[4] = 0;
  }
  return tag;
}

int readInt(FILE* file) { return ReadLittleEndian(file, 4); }

int readShort(FILE* file) { return ReadLittleEndian(file, 2); }

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
  if (!TagIs(readTag(file), "RIFF")) return nullptr;
  readInt(file);
  if (!TagIs(readTag(file), "WAVE")) return nullptr;
  if (!TagIs(readTag(file), "fmt ")) return nullptr;
  int fmt_size = readInt(file);
  // Only uncompressed PCM, plain or in the EXTENSIBLE form that more channels or rates call for.
  int compression = readShort(file);
  if (compression != kFormatPcm && compression != kFormatExtensible) return nullptr;
  int channel_count = readShort(file);
  int rate = readInt(file);
  readInt(file);    // byte rate
  readShort(file);  // block alignment
  int bytes_per_value = readShort(file) >> 3;
  int rest = fmt_size - 16;
  if (compression == kFormatExtensible) {
    if (rest < kExtensionBytes || !SubFormatIsPcm(file)) return nullptr;
    rest -= kExtensionBytes;
  }
  if (rest > 0) SkipBytes(file, rest);
  SkipPadByte(file, fmt_size);
  // A frame of no bytes cannot be counted (and would divide by zero below).
  if (channel_count <= 0 || bytes_per_value <= 0) return nullptr;

  for (;;) {
    const char* tag = readTag(file);
    if (feof(file)) return nullptr;
    bool is_data = TagIs(tag, "data");
    int size = readInt(file);
    // A damaged or hostile header can declare any size: below 0 or past the end fails, unallocated.
    long remaining = RemainingBytes(file);
    if (size < 0 || (remaining >= 0 && size > remaining)) return nullptr;
    unsigned char* block = ReadBlock(file, size);
    if (block && is_data) {
      *length = size / (channel_count * bytes_per_value);
      *channels = channel_count;
      *format = bytes_per_value;
      *hertz = rate;
      return block;
    }
    free(block);
    SkipPadByte(file, size);
  }
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
  int channel_count = 0, rate = 0;
  stb_vorbis* decoder = vorbis_open(file, &channel_count, &rate);
  if (!decoder) return nullptr;
  // One frame of head-room: a frame never holds more than 4096 values per channel.
  const int head_room = channel_count * 4096;
  int room = head_room;
  int count = 0;
  short* values = channel_count > 0 ? static_cast<short*>(malloc(sizeof(short) * room)) : nullptr;
  bool failed = !values;
  while (!failed) {
    int frames = vorbis_next_frame(decoder, channel_count, values + count, room - count);
    if (frames == 0) break;
    // Sizes are ints downstream: a stream that decodes to more is refused.
    failed = frames < 0 || room > INT_MAX / 4;
    if (failed) break;
    count += channel_count * frames;
    if (room - count < head_room) {
      room *= 2;
      short* grown = static_cast<short*>(realloc(values, sizeof(short) * room));
      failed = !grown;
      if (grown) values = grown;
    }
  }
  vorbis_close(decoder);
  // Intact headers with no audio after them are no sound either.
  if (failed || count == 0) {
    free(values);
    return nullptr;
  }
  short* shrunk = static_cast<short*>(realloc(values, sizeof(short) * (count ? count : 1)));
  if (shrunk) values = shrunk;
  *length = count / channel_count;
  *channels = channel_count;
  *format = 2;
  *hertz = rate;
  return reinterpret_cast<unsigned char*>(values);
}
