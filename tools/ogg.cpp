// Ogg Vorbis output of the music through libvorbisenc.
#include <algorithm>
#include <fstream>
#include <vector>

#include <vorbis/vorbisenc.h>

#include "tools/music.h"

namespace sfx {

namespace {

constexpr int kSerial = 0x4d41524c;  // fixed stream serial, so every run writes the same bytes
constexpr float kQuality = 0.4f;     // about 128 kbit/s for stereo at 44.1 kHz

void appendPage(std::vector<unsigned char>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

bool writeOgg(const std::string& path, const Stereo& music, std::string& error) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 2, kRate, kQuality) != 0) {
    vorbis_info_clear(&info);
    error = "the Vorbis encoder refused its settings";
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "fish");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerial);

  std::vector<unsigned char> bytes;
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) appendPage(bytes, page);

  const size_t total = music.left.size();
  const size_t chunk = 4096;
  for (size_t done = 0;;) {
    size_t n = std::min(chunk, total - done);
    if (n > 0) {
      float** in = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) {
        in[0][i] = music.left[done + i];
        in[1][i] = music.right[done + i];
      }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));  // 0 marks the end of the stream
    done += n;
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) appendPage(bytes, page);
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&stream, &page)) appendPage(bytes, page);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);

  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) error = "cannot write " + path;
  return static_cast<bool>(out);
}

}  // namespace sfx
