// audio/vorbis_decoder.c: the Ogg Vorbis decoder, stb_vorbis, with its allocations tracked.
//
// The source is the libstb-dev header with a guard on the comment count (see
// stb_vorbis_checked.cmake). The decoder has error paths that return without
// freeing, and paths that crash when an allocation fails. So every block it
// takes is tracked; an allocation that fails (or asks for more than any real
// file needs) abandons the whole decode by a jump back to the guarded call;
// and the end of the decode frees whatever is left. One decode at a time.
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

static Block live = {{&live, &live}};
static const size_t kLargestBlock = (size_t)16 << 20;
// Set while a guarded call runs: where a failed allocation jumps to.
static jmp_buf* escape = NULL;
static int abandoned = 0;

static void* Track(Block* block) {
  block->links.prev = live.links.prev;
  block->links.next = &live;
  live.links.prev->links.next = block;
  live.links.prev = block;
  return block + 1;
}

static void Untrack(Block* block) {
  block->links.prev->links.next = block->links.next;
  block->links.next->links.prev = block->links.prev;
}

static void Abandon(void) {
  abandoned = 1;
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

stb_vorbis* vorbis_open(FILE* file, int* channels, int* hertz) {
  jmp_buf here;
  stb_vorbis* volatile decoder = NULL;
  abandoned = 0;
  if (setjmp(here) == 0) {
    escape = &here;
    int error = 0;
    decoder = stb_vorbis_open_file(file, 0, &error, NULL);
  }
  escape = NULL;
  if (!decoder || abandoned) {
    vorbis_close(NULL);
    return NULL;
  }
  stb_vorbis_info info = stb_vorbis_get_info(decoder);
  *channels = info.channels;
  *hertz = (int)info.sample_rate;
  return decoder;
}

long vorbis_length(stb_vorbis* decoder) {
  jmp_buf here;
  volatile unsigned int frames = 0;
  if (abandoned) return -1;
  if (setjmp(here) == 0) {
    escape = &here;
    frames = stb_vorbis_stream_length_in_samples(decoder);
  }
  escape = NULL;
  // 0 is the decoder's "unknown"; its largest value is a saturated one.
  return abandoned || frames == 0 || frames >= 0xfffffffeu ? -1 : (long)frames;
}

int vorbis_next_frame(stb_vorbis* decoder, int channels, short* values, int room) {
  jmp_buf here;
  volatile int frames = -1;
  if (abandoned) return -1;
  if (setjmp(here) == 0) {
    escape = &here;
    frames = stb_vorbis_get_frame_short_interleaved(decoder, channels, values, room);
  }
  escape = NULL;
  return abandoned ? -1 : frames;
}

void vorbis_close(stb_vorbis* decoder) {
  // An abandoned decoder is half-built: its blocks are freed below instead.
  if (decoder && !abandoned) stb_vorbis_close(decoder);
  while (live.links.next != &live) vorbis_free(live.links.next + 1);
  abandoned = 0;
}
