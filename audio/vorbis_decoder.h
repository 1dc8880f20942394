// audio/vorbis_decoder.h: the Ogg Vorbis decoder (stb_vorbis), guarded.
//
// No damaged file can make it leak, crash on a refused allocation, or take
// more than a bounded amount of memory per block.
#pragma once

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VorbisDecoder VorbisDecoder;

// A decoder reading the file from its position (left open), or null.
VorbisDecoder* vorbis_open(FILE* file, int* channels, int* hertz);
// The length in frames the stream's last page declares, or -1 when it cannot
// be found (a stream that cannot seek, say). The read position stays.
long vorbis_length(VorbisDecoder* decoder);
// Decodes the next frame, interleaved, into at most `room` values: the frames
// decoded, 0 at the end of the stream, -1 when the decoder had to give up.
int vorbis_next_frame(VorbisDecoder* decoder, int channels, short* values, int room);
// Ends the decode and frees everything the decoder still holds (null: nothing).
void vorbis_close(VorbisDecoder* decoder);

#ifdef __cplusplus
}
#endif
