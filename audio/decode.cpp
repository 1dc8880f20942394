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

// The data chunk of `size` bytes, to the sink a block of whole frames at a
// time; a trailing part of a frame is left out. The length is declared to
// the sink only when the file was seen to hold it.
bool ReadFrames(FILE* file, int size, bool checked, int channels, int bytes_per_value, int hertz,
                AudioSink& sink) {
  const int frame_bytes = channels * bytes_per_value;
  const long frames = size / frame_bytes;
  if (!sink.Begin(checked ? frames : -1, channels, bytes_per_value, hertz)) return false;
  if (frames == 0) return true;
  const int piece = frame_bytes < (1 << 16) ? (1 << 16) / frame_bytes : 1;
  unsigned char* block =
      static_cast<unsigned char*>(malloc(static_cast<size_t>(piece) * frame_bytes));
  bool ok = block != nullptr;
  for (long done = 0; ok && done < frames;) {
    const int want = frames - done < piece ? static_cast<int>(frames - done) : piece;
    ok = fread(block, frame_bytes, want, file) == static_cast<size_t>(want) &&
         sink.Take(block, want);
    done += want;
  }
  free(block);
  return ok;
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

BlockSink::~BlockSink() { free(block_); }

bool BlockSink::Begin(long frames, int channels, int bytes_per_value, int hertz) {
  channels_ = channels;
  bytes_per_value_ = bytes_per_value;
  hertz_ = hertz;
  const long frame_bytes = static_cast<long>(channels) * bytes_per_value;
  if (frame_bytes <= 0) return false;
  // The declared length is only a first guess: a damaged file may say anything.
  if (frames >= 0 && frames <= INT_MAX / frame_bytes) {
    block_ = static_cast<unsigned char*>(malloc(frames ? frames * frame_bytes : 1));
    if (block_) capacity_ = frames;
  }
  if (!block_) {
    capacity_ = 4096;
    block_ = static_cast<unsigned char*>(malloc(capacity_ * frame_bytes));
  }
  return block_ != nullptr;
}

bool BlockSink::Take(const unsigned char* values, int frames) {
  const long frame_bytes = static_cast<long>(channels_) * bytes_per_value_;
  // Sizes are ints downstream: a sound that decodes to more is refused.
  if (!block_ || frames < 0 || count_ + frames > INT_MAX / frame_bytes) return false;
  if (count_ + frames > capacity_) {
    long grown = capacity_ * 2 > count_ + frames ? capacity_ * 2 : count_ + frames;
    if (grown > INT_MAX / frame_bytes) grown = INT_MAX / frame_bytes;
    unsigned char* bigger = static_cast<unsigned char*>(realloc(block_, grown * frame_bytes));
    if (!bigger) return false;
    block_ = bigger;
    capacity_ = grown;
  }
  memcpy(block_ + count_ * frame_bytes, values, frames * frame_bytes);
  count_ += frames;
  return true;
}

unsigned char* BlockSink::Release(int* length, int* channels, int* format, int* hertz) {
  if (!block_) return nullptr;
  if (count_ < capacity_ && count_ > 0) {
    unsigned char* shrunk =
        static_cast<unsigned char*>(realloc(block_, count_ * channels_ * bytes_per_value_));
    if (shrunk) block_ = shrunk;
  }
  *length = static_cast<int>(count_);
  *channels = channels_;
  *format = bytes_per_value_;
  *hertz = hertz_;
  unsigned char* block = block_;
  block_ = nullptr;
  return block;
}

bool DecodeWAV(FILE* file, AudioSink& sink) {
  if (!TagIs(readTag(file), "RIFF")) return false;
  readInt(file);
  if (!TagIs(readTag(file), "WAVE")) return false;
  if (!TagIs(readTag(file), "fmt ")) return false;
  int fmt_size = readInt(file);
  // The PCM fields take 16 bytes: a smaller (or negative) size is damage.
  if (fmt_size < 16) return false;
  // Only uncompressed PCM, plain or in the EXTENSIBLE form that more channels or rates call for.
  int compression = readShort(file);
  if (compression != kFormatPcm && compression != kFormatExtensible) return false;
  int channel_count = readShort(file);
  int rate = readInt(file);
  readInt(file);    // byte rate
  readShort(file);  // block alignment
  int bytes_per_value = readShort(file) >> 3;
  int rest = fmt_size - 16;
  if (compression == kFormatExtensible) {
    if (rest < kExtensionBytes || !SubFormatIsPcm(file)) return false;
    rest -= kExtensionBytes;
  }
  if (rest > 0) SkipBytes(file, rest);
  SkipPadByte(file, fmt_size);
  // A frame of no bytes cannot be counted (and would divide by zero below).
  if (channel_count <= 0 || bytes_per_value <= 0) return false;

  for (;;) {
    const char* tag = readTag(file);
    if (feof(file)) return false;
    bool is_data = TagIs(tag, "data");
    int size = readInt(file);
    // A damaged or hostile header can declare any size: below 0 or past the end fails, unread.
    long remaining = RemainingBytes(file);
    if (size < 0 || (remaining >= 0 && size > remaining)) return false;
    if (is_data) {
      return ReadFrames(file, size, remaining >= 0, channel_count, bytes_per_value, rate, sink);
    }
    SkipBytes(file, size);
    SkipPadByte(file, size);
  }
}

bool DecodeOGG(FILE* file, AudioSink& sink) {
  int channel_count = 0, rate = 0;
  VorbisDecoder* decoder = vorbis_open(file, &channel_count, &rate);
  if (!decoder) return false;
  bool ok = channel_count > 0;
  // Room for one frame: a frame never holds more than 4096 values per channel.
  const int room = channel_count * 4096;
  short* values = ok ? static_cast<short*>(malloc(sizeof(short) * room)) : nullptr;
  ok = values && sink.Begin(vorbis_length(decoder), channel_count, 2, rate);
  long count = 0;
  while (ok) {
    int frames = vorbis_next_frame(decoder, channel_count, values, room);
    if (frames == 0) break;
    ok = frames > 0 && sink.Take(reinterpret_cast<unsigned char*>(values), frames);
    count += frames;
  }
  vorbis_close(decoder);
  free(values);
  // Intact headers with no audio after them are no sound either.
  return ok && count > 0;
}

namespace {

unsigned char* Gather(bool (*decode)(FILE*, AudioSink&), FILE* file, int* length, int* channels,
                      int* format, int* hertz) {
  BlockSink sink;
  if (!decode(file, sink)) return nullptr;
  return sink.Release(length, channels, format, hertz);
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
  return Gather(DecodeWAV, file, length, channels, format, hertz);
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
  return Gather(DecodeOGG, file, length, channels, format, hertz);
}
