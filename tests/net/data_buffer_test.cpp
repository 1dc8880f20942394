// tests/net/data_buffer_test.cpp: byte buffers, their string encodings and clipping.
#include "net/data_buffer.h"

#include <climits>
#include <cstdio>
#include <random>

#include "host/game.h"
#include "tests/net/net_test.h"

namespace {

class DataBufferTest : public NetTest {
 protected:
  c_DataBuffer* Buffer(int length, int fill = 0) {
    c_DataBuffer* buffer = Keep((new c_DataBuffer())->m_new(length));
    for (int i = 0; i < length; ++i) buffer->data[i] = static_cast<unsigned char>(fill);
    return buffer;
  }
  static std::vector<int> Bytes(c_DataBuffer* buffer) {
    return std::vector<int>(buffer->data, buffer->data + buffer->length);
  }
  static String Text(std::initializer_list<Char> chars) {
    return String(std::vector<Char>(chars).data(), static_cast<int>(chars.size()));
  }
  // Peeks bytes given as a list, with one encoding.
  String Decode(std::initializer_list<int> bytes, const char* encoding) {
    c_DataBuffer* buffer = Buffer(static_cast<int>(bytes.size()));
    int i = 0;
    for (int byte : bytes) buffer->data[i++] = static_cast<unsigned char>(byte);
    return buffer->p_PeekString(0, buffer->length, String(encoding));
  }
};

TEST_F(DataBufferTest, PokeStringEncodesUtf8AndAscii) {
  c_DataBuffer* buffer = Buffer(8);
  EXPECT_EQ(buffer->p_PokeString(0, Text({'a', 233}), String("utf8")), 3);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0x61, 0xC3, 0xA9, 0, 0, 0, 0, 0}));
  EXPECT_EQ(buffer->p_PokeString(0, Text({'a', 233}), String("ascii")), 2);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0x61, 0xE9, 0xA9, 0, 0, 0, 0, 0}));
  // Three-byte characters; surrogate halves are encoded one by one.
  EXPECT_EQ(buffer->p_PokeString(0, Text({0x20AC, 0xD83D}), String("utf8")), 6);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD, 0, 0}));
  // Ascii keeps the low 8 bits.
  buffer->p_PokeString(0, Text({0x20AC}), String("ascii"));
  EXPECT_EQ(buffer->data[0], 0xAC);
}

TEST_F(DataBufferTest, PokeStringWritesWhatFitsAndReturnsTheFullLength) {
  c_DataBuffer* buffer = Buffer(4, 0xEE);
  EXPECT_EQ(buffer->p_PokeString(2, Text({'a', 'b', 'c', 0x20AC}), String("utf8")), 6);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0xEE, 0xEE, 'a', 'b'}));
  // A character cut by the end leaves its first bytes.
  EXPECT_EQ(buffer->p_PokeString(3, Text({233}), String("utf8")), 2);
  EXPECT_EQ(buffer->data[3], 0xC3);
  EXPECT_EQ(buffer->p_PokeString(1, String("xyzw"), String("ascii")), 4);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0xEE, 'x', 'y', 'z'}));
  // Outside the buffer nothing is written.
  for (int address : {-1, 4, 100}) {
    EXPECT_EQ(buffer->p_PokeString(address, String("q"), String("ascii")), 1);
  }
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{0xEE, 'x', 'y', 'z'}));
}

TEST_F(DataBufferTest, PeekStringDecodesWellFormedUtf8) {
  EXPECT_EQ(Decode({0xC3, 0xA9}, "utf8"), Text({233}));
  EXPECT_EQ(Decode({'h', 0xE2, 0x82, 0xAC, '!'}, "utf8"), Text({'h', 0x20AC, '!'}));
  EXPECT_EQ(Decode({0xED, 0xA0, 0xBD}, "utf8"), Text({0xD83D}));
}

TEST_F(DataBufferTest, PeekStringReturnsMalformedUtf8UndecodedByteForByte) {
  EXPECT_EQ(Decode({0xC3}, "utf8"), Text({0xC3}));
  EXPECT_EQ(Decode({'a', 0x80, 'b'}, "utf8"), Text({'a', 0x80, 'b'}));
  EXPECT_EQ(Decode({0xF0, 0x9F, 0x98, 0x80}, "utf8"), Text({0xF0, 0x9F, 0x98, 0x80}));
  EXPECT_EQ(Decode({0xC3, 0xA9, 0xE2, 0x82}, "utf8"), Text({0xC3, 0xA9, 0xE2, 0x82}));
  EXPECT_EQ(Decode({0xC3, 'x'}, "utf8"), Text({0xC3, 'x'}));
}

TEST_F(DataBufferTest, PeekStringAsciiGivesOneCharacterPerByteUpTo255) {
  EXPECT_EQ(Decode({0, 'A', 0xC3, 0xFF}, "ascii"), Text({0, 'A', 0xC3, 0xFF}));
}

TEST_F(DataBufferTest, PeekStringIsClippedToTheBuffer) {
  c_DataBuffer* buffer = Buffer(4);
  buffer->p_PokeString(0, String("abcd"), String("ascii"));
  EXPECT_EQ(Narrow(buffer->p_PeekString(2, 100, String("ascii"))), "cd");
  EXPECT_EQ(Narrow(buffer->p_PeekString2(1, String("utf8"))), "bcd");
  EXPECT_EQ(Narrow(buffer->p_PeekString(4, 1, String("ascii"))), "");
  EXPECT_EQ(Narrow(buffer->p_PeekString(9, 1, String("ascii"))), "");
  EXPECT_EQ(Narrow(buffer->p_PeekString(-1, 3, String("ascii"))), "");
  EXPECT_EQ(Narrow(buffer->p_PeekString(1, -3, String("ascii"))), "");
  EXPECT_EQ(Narrow(buffer->p_PeekString2(-2, String("ascii"))), "");
  EXPECT_EQ(Narrow(buffer->p_PeekString2(INT_MIN, String("ascii"))), "");
}

TEST_F(DataBufferTest, EveryCharacterSurvivesAUtf8RoundTrip) {
  std::mt19937 random(7);
  c_DataBuffer* buffer = Buffer(3 * 512);
  for (int round = 0; round < 64; ++round) {
    std::vector<Char> chars(512);
    for (Char& ch : chars) ch = static_cast<Char>(random() & 0xFFFF);
    String text(chars.data(), static_cast<int>(chars.size()));
    int length = buffer->p_PokeString(0, text, String("utf8"));
    ASSERT_EQ(buffer->p_PeekString(0, length, String("utf8")), text) << "round " << round;
  }
}

TEST_F(DataBufferTest, AnyOtherEncodingNameIsFatal) {
  c_DataBuffer* buffer = Buffer(4);
  EXPECT_FATAL_ERROR(buffer->p_PokeString(0, String("a"), String("utf-8")),
                     "Invalid string encoding:utf-8");
  EXPECT_FATAL_ERROR(buffer->p_PeekString(0, 1, String("ASCII")), "Invalid string encoding:ASCII");
  EXPECT_FATAL_ERROR(buffer->p_PeekString2(0, String("")), "Invalid string encoding:\n");
}

TEST_F(DataBufferTest, AllocatingTwiceOrANegativeLengthIsFatal) {
  c_DataBuffer* buffer = Buffer(4);
  EXPECT_FATAL_ERROR(buffer->m_new(8), "Allocate DataBuffer failed");
  EXPECT_FATAL_ERROR((new c_DataBuffer())->m_new(-1), "Allocate DataBuffer failed");
  c_DataBuffer* empty = Buffer(0);
  EXPECT_EQ(empty->p_Length(), 0);
  EXPECT_EQ(empty->p_PokeString(0, String("abc"), String("ascii")), 3);
}

TEST_F(DataBufferTest, CopyBytesMovesOverlappingRangesBothWays) {
  c_DataBuffer* buffer = Buffer(6);
  buffer->p_PokeString(0, String("abcdef"), String("ascii"));
  buffer->p_CopyBytes(0, buffer, 2, 4);
  EXPECT_EQ(Narrow(buffer->p_PeekString2(0, String("ascii"))), "ababcd");
  buffer->p_CopyBytes(2, buffer, 0, 4);
  EXPECT_EQ(Narrow(buffer->p_PeekString2(0, String("ascii"))), "abcdcd");
}

TEST_F(DataBufferTest, CopyBytesIsClippedToBothBuffers) {
  c_DataBuffer* source = Buffer(6);
  source->p_PokeString(0, String("abcdef"), String("ascii"));
  c_DataBuffer* target = Buffer(4, '.');
  source->p_CopyBytes(4, target, 0, 10);
  EXPECT_EQ(Narrow(target->p_PeekString2(0, String("ascii"))), "ef..");
  source->p_CopyBytes(0, target, 2, 10);
  EXPECT_EQ(Narrow(target->p_PeekString2(0, String("ascii"))), "efab");
  source->p_CopyBytes(-1, target, 0, 3);
  source->p_CopyBytes(0, target, 5, 3);
  source->p_CopyBytes(0, nullptr, 0, 3);
  EXPECT_EQ(Narrow(target->p_PeekString2(0, String("ascii"))), "efab");
}

TEST_F(DataBufferTest, PeekBytesAreSignedAndPokeBytesKeepTheLow8Bits) {
  c_DataBuffer* buffer = Buffer(4);
  Array<int> values(4);
  values[0] = 1;
  values[1] = 257;
  values[2] = -1;
  values[3] = 128;
  buffer->p_PokeBytes(0, values, 0, 4);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{1, 1, 255, 128}));
  Array<int> peeked = buffer->p_PeekBytes2(0, 4);
  ASSERT_EQ(peeked.Length(), 4);
  EXPECT_EQ(std::vector<int>(peeked.Data(), peeked.Data() + 4), (std::vector<int>{1, 1, -1, -128}));
}

TEST_F(DataBufferTest, ByteTransfersAreClippedToBufferAndArray) {
  c_DataBuffer* buffer = Buffer(4);
  Array<int> values(3);
  for (int i = 0; i < 3; ++i) values[i] = 10 + i;
  buffer->p_PokeBytes(2, values, 0, 3);  // the buffer ends after 2
  buffer->p_PokeBytes(0, values, 2, 5);  // the array ends after 1
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{12, 0, 10, 11}));
  Array<int> into(2);
  buffer->p_PeekBytes(1, into, 1, 10);
  EXPECT_EQ(into[0], 0);
  EXPECT_EQ(into[1], 0);
  buffer->p_PeekBytes(3, into, 0, 10);
  EXPECT_EQ(into[0], 11);
  EXPECT_EQ(buffer->p_PeekBytes2(3, 10).Length(), 1);
  EXPECT_EQ(buffer->p_PeekBytes2(5, 1).Length(), 0);
  buffer->p_PokeBytes(-1, values, 0, 3);
  buffer->p_PeekBytes(0, into, -1, 3);
  EXPECT_EQ(Bytes(buffer), (std::vector<int>{12, 0, 10, 11}));
}

TEST_F(DataBufferTest, LoadReadsAWholeFileThroughTheHost) {
  static RkGame host;
  const char* path = "data_buffer_test.bin";
  FILE* file = fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  std::string contents(10000, 'x');
  contents[0] = '\xC3';
  contents[9999] = '\0';
  fwrite(contents.data(), 1, contents.size(), file);
  fclose(file);
  c_DataBuffer* loaded = Keep(c_DataBuffer::m_Load(String(path)));
  remove(path);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(std::string(loaded->data, loaded->data + loaded->length), contents);
  EXPECT_EQ(c_DataBuffer::m_Load(String("no_such_file.bin")), nullptr);
  loaded->Discard();
  EXPECT_EQ(loaded->p_Length(), 0);
  EXPECT_EQ(Narrow(loaded->p_PeekString2(0, String("ascii"))), "");
}

}  // namespace
