// audio/vorbis_decoder.c: the Ogg Vorbis decoder, stb_vorbis, with its allocations tracked.
//
// The source is the libstb-dev header with a guard on the comment count (see
// stb_vorbis_checked.cmake). The decoder has error paths that return without
// freeing, and paths that crash when an allocation fails. So every block it
// takes is tracked; an allocation that fails (or asks for more than any real
// file needs) abandons the whole decode by a jump back to the guarded call;
// and the end of the decode frees whatever is left. Each decoder tracks its
// own blocks, so a tune can stream while a sound loads. Main thread only.
#include "audio/vorbis_decoder.h"

#include <alloca.h>
#include <malloc.h>
#include <setjmp.h>
#include <stddef.h>
#include <stdlib.h>

typedef union Block {
  struct {
    union Block* prev;
    union Block* next;
  } links;
  max_align_t alignment;  // keeps the decoder's part aligned like malloc's
} Block;

struct VorbisDecoder {
  Block live;  // the blocks this decoder holds, in a ring
  struct stb_vorbis* stb;
  int abandoned;
};

static const size_t kLargestBlock = (size_t)16 << 20;
// Set while a guarded call runs: the decoder whose blocks are tracked, and
// where a failed allocation jumps to.
static VorbisDecoder* current = NULL;
static jmp_buf* escape = NULL;

static void* Track(Block* block) {
  Block* live = &current->live;
  block->links.prev = live->links.prev;
  block->links.next = live;
  live->links.prev->links.next = block;
  live->links.prev = block;
  return block + 1;
}

static void Untrack(Block* block) {
  block->links.prev->links.next = block->links.next;
  block->links.next->links.prev = block->links.prev;
}

static void Abandon(void) {
  current->abandoned = 1;
  if (escape) longjmp(*escape, 1);
}

// Zeroed: the decoder's failure paths free lists whose entries it never set
// (a comment list cut short), which must then be null.
static void* vorbis_malloc(size_t size) {
  Block* block = size <= kLargestBlock ? (Block*)calloc(1, sizeof(Block) + size) : NULL;
  if (!block) Abandon();
  return block ? Track(block) : NULL;
}

static void vorbis_free(void* pointer) {
  if (!pointer) return;
  Block* block = (Block*)pointer - 1;
  Untrack(block);
  free(block);
}

static void* vorbis_realloc(void* pointer, size_t size) {
  if (!pointer) return vorbis_malloc(size);
  Block* block = (Block*)pointer - 1;
  Untrack(block);
  Block* grown = size <= kLargestBlock ? (Block*)realloc(block, sizeof(Block) + size) : NULL;
  if (!grown) {
    Track(block);  // still held, freed with the rest
    Abandon();
    return NULL;
  }
  return Track(grown);
}

#define malloc(size) vorbis_malloc(size)
#define free(pointer) vorbis_free(pointer)
#define realloc(pointer, size) vorbis_realloc(pointer, size)
#include "stb_vorbis_checked.h"
#undef malloc
#undef free
#undef realloc

// Each call into the decoder runs with its blocks current and a way back
// from a failed allocation; afterwards no decoder is current.
#define GUARDED(decoder, call)        \
  do {                                \
    jmp_buf here;                     \
    current = (decoder);              \
    if (setjmp(here) == 0) {          \
      escape = &here;                 \
      call;                           \
    }                                 \
    escape = NULL;                    \
    current = NULL;                   \
  } while (0)

VorbisDecoder* vorbis_open(FILE* file, int* channels, int* hertz) {
  VorbisDecoder* decoder = (VorbisDecoder*)calloc(1, sizeof(VorbisDecoder));
  if (!decoder) return NULL;
  decoder->live.links.prev = decoder->live.links.next = &decoder->live;
  stb_vorbis* volatile opened = NULL;
  GUARDED(decoder, {
    int error = 0;
    opened = stb_vorbis_open_file(file, 0, &error, NULL);
  });
  decoder->stb = opened;
  if (!decoder->stb || decoder->abandoned) {
    vorbis_close(decoder);
    return NULL;
  }
  stb_vorbis_info info = stb_vorbis_get_info(decoder->stb);
  *channels = info.channels;
  *hertz = (int)info.sample_rate;
  return decoder;
}

long vorbis_length(VorbisDecoder* decoder) {
  volatile unsigned int frames = 0;
  if (decoder->abandoned) return -1;
  GUARDED(decoder, frames = stb_vorbis_stream_length_in_samples(decoder->stb));
  // 0 is the decoder's "unknown"; its largest value is a saturated one.
  return decoder->abandoned || frames == 0 || frames >= 0xfffffffeu ? -1 : (long)frames;
}

int vorbis_next_frame(VorbisDecoder* decoder, int channels, short* values, int room) {
  volatile int frames = -1;
  if (decoder->abandoned) return -1;
  GUARDED(decoder, frames = stb_vorbis_get_frame_short_interleaved(decoder->stb, channels,
                                                                   values, room));
  return decoder->abandoned ? -1 : frames;
}

void vorbis_close(VorbisDecoder* decoder) {
  if (!decoder) return;
  // An abandoned decoder is half-built: its blocks are freed below instead.
  if (decoder->stb && !decoder->abandoned) GUARDED(decoder, stb_vorbis_close(decoder->stb));
  while (decoder->live.links.next != &decoder->live) vorbis_free(decoder->live.links.next + 1);
  free(decoder);
}
