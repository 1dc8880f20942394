// Asset paths, file loading, the state file and the host's small services.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "host/data_path.h"
#include "host/png_decode.h"
#include "host/state_file.h"
#include "tests/host/fake_window.h"
#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

String Text(std::initializer_list<Char> chars) {
  return String(chars.begin(), static_cast<int>(chars.size()));
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Permissions do not stop root: a child that runs as nobody.
bool BecomeNobody() { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); }

std::string HostName() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  return name;
}

// Each test runs in a fresh working directory of its own.
class HostFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/marvolet-host-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
    previous = fs::current_path();
    fs::current_path(folder);
  }
  void TearDown() override {
    fs::current_path(previous);
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
  }

  // Runs `body` in a child process and returns its exit status.
  int InChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body() & 0xFF);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Files beside the state file that are not it.
  std::vector<std::string> StrayFiles() {
    std::vector<std::string> stray;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      if (name != ".zorvexstate") stray.push_back(name);
    }
    return stray;
  }

  fs::path folder;
  fs::path previous;
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
};

TEST(DataPaths, PlainNamesBecomeAssetsInTheDataFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"dice.png", "zorvex://data/dice.png"},
      {"gfx/dice.png", "zorvex://data/gfx/dice.png"},
      {"./dice.png", "./dice.png"},
      {"/dice.png", "/dice.png"},
      {"zorvex://data/a.png", "zorvex://data/a.png"},
      {"http://host/a.png", "http://host/a.png"},
      {"a/b:/c", "zorvex://data/a/b:/c"},  // the first "/" is not the scheme's
      {"", "zorvex://data/"},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(ToUtf8(rk_data_FixDataPath(String(path))), expected) << path;
  }
}

TEST(DataPaths, VirtualFoldersResolveBesideTheProgram) {
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  host.SetProgramFolder(String("/games/M"));
  const std::pair<const char*, const char*> cases[] = {
      {"zorvex://data/dice.png", "/games/M/data/dice.png"},
      {"zorvex://internal/x.txt", "/games/M/internal/x.txt"},
      {"zorvex://external/y", "/games/M/external/y"},
      {"zorvex://other/x", ""},
      {"zorvex:data/x", ""},
      {"dice.png", "dice.png"},
      {"/abs/dice.png", "/abs/dice.png"},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(ToUtf8(host.PathToFilePath(String(path))), expected) << path;
  }
}

TEST(DataPaths, TheProgramFolderIsTheRunningExecutablesFolder) {
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  std::string folder = fs::canonical("/proc/self/exe").parent_path().string();
  EXPECT_EQ(ToFileName(host.PathToFilePath(String("zorvex://data/a.png"))), folder + "/data/a.png");
}

TEST(DataPaths, AProgramDeepInALongFolderWithAnAccentFindsItsData) {
  char name[] = "/tmp/marvolet-deep-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  fs::path deep = name;
  for (int i = 0; i < 12; ++i) deep /= "a-rather-long-folder-name-\xC3\xA9-" + std::to_string(i);
  ASSERT_GT(deep.string().size(), 300u);
  fs::create_directories(deep);
  fs::copy_file(PATH_PROBE, deep / "path_probe");
  ChildResult r = RunChild({(deep / "path_probe").string(), "zorvex://data/dice.png"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, deep.string() + "/data/dice.png\n");
  fs::remove_all(name);
}

TEST(DataPaths, AProgramInAFolderNamedInLatin1FindsItsData) {
  char name[] = "/tmp/marvolet-latin1-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  fs::path folder = fs::path(name) / "caf\xE9";  // not UTF-8
  fs::create_directories(folder / "data");
  WriteFile(folder / "data/dice.png", "dice");
  fs::copy_file(PATH_PROBE, folder / "path_probe");
  ChildResult r = RunChild({(folder / "path_probe").string(), "zorvex://data/dice.png"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, folder.string() + "/data/dice.png (opens)\n");
  fs::remove_all(name);
}

TEST(DataPaths, AnInstalledProgramFindsTheSharedDataUnlessDataLiesBesideIt) {
  // The plain install's layout, and the Debian package's games layout.
  const struct {
    const char* program;
    const char* data;
    const char* shared;
  } layouts[] = {{"libexec/marvolet", MARVOLET_INSTALLED_DATA, "share/games/marvolet"},
                 {"usr/lib/games/marvolet", MARVOLET_GAMES_DATA, "usr/share/games/marvolet"}};
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.program);
    char name[] = "/tmp/marvolet-installed-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    fs::path program = fs::path(name) / layout.program;
    fs::path shared = program / layout.data;
    EXPECT_EQ(fs::weakly_canonical(shared), fs::path(name) / layout.shared);
    fs::create_directories(program);
    fs::create_directories(shared);
    WriteFile(shared / "dice.png", "dice");
    fs::copy_file(PATH_PROBE, program / "path_probe");
    ChildResult r = RunChild({(program / "path_probe").string(), "zorvex://data/dice.png"});
    EXPECT_EQ(r.out, shared.string() + "/dice.png (opens)\n");
    fs::create_directories(program / "data");
    r = RunChild({(program / "path_probe").string(), "zorvex://data/dice.png"});
    EXPECT_EQ(r.out, (program / "data").string() + "/dice.png\n");
    fs::remove_all(name);
  }
}

TEST_F(HostFiles, TheStateIsSavedAsUtf8AndLoadsBack) {
  String state = Text({u'A', u'\u00e9'});
  EXPECT_EQ(host.SaveState(state), 0);
  EXPECT_EQ(ReadFile(".zorvexstate"), "\x41\xC3\xA9");
  EXPECT_TRUE(host.LoadState() == state);
  EXPECT_TRUE(StrayFiles().empty());
}

TEST_F(HostFiles, TheEmptyStateLeavesAnEmptyFile) {
  WriteFile(".zorvexstate", "old");
  EXPECT_EQ(host.SaveState(String()), 0);
  EXPECT_TRUE(fs::exists(".zorvexstate"));
  EXPECT_EQ(fs::file_size(".zorvexstate"), 0u);
  EXPECT_TRUE(host.LoadState().IsEmpty());
}

TEST_F(HostFiles, WithoutAStateFileTheStateIsEmpty) { EXPECT_TRUE(host.LoadState().IsEmpty()); }

TEST_F(HostFiles, AWritableFileInAFolderThatCannotBeWrittenStaysAndThePlayerHearsOnce) {
  fs::create_directory("locked");
  WriteFile("locked/state", "old state");
  fs::create_symlink("locked/state", ".zorvexstate");
  chmod("locked/state", 0666);
  chmod("locked", 0555);
  fs::permissions(folder, fs::perms::all);
  int status = InChild([&] {
    if (!freopen("console.txt", "w", stdout) || !BecomeNobody()) return 100;
    int first = host.SaveState(String("new state"));
    printf("[%s]\n", ToUtf8(host.TakeStateNotice()).c_str());
    host.SaveState(String("new state"));
    printf("[%s]\n", ToUtf8(host.TakeStateNotice()).c_str());
    fflush(stdout);
    return first;
  });
  EXPECT_EQ(status, 0xFF);  // -1
  EXPECT_EQ(ReadFile("console.txt"),
            "Cannot save the state file ./.zorvexstate in the folder " +
                fs::canonical("locked").string() +
                " (Permission denied): it stays as it was.\n"
                "[Not saving: the folder is read-only]\n[]\n");
  EXPECT_EQ(ReadFile("locked/state"), "old state");
  EXPECT_EQ(std::distance(fs::directory_iterator("locked"), {}), 1);
  fs::permissions("locked", fs::perms::owner_all);
}

TEST_F(HostFiles, AShortWriteGivesMinus2AndKeepsTheOldFile) {
  WriteFile(".zorvexstate", "old state");
  int status = InChild([&] {
    // A file size limit makes the write fall short, as a full disk would.
    rlimit limit = {100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
    String big("0123456789");
    for (int i = 0; i < 6; ++i) big = big + big;
    return host.SaveState(big);
  });
  EXPECT_EQ(status, 0xFE);  // -2
  EXPECT_EQ(ReadFile(".zorvexstate"), "old state");
  EXPECT_TRUE(StrayFiles().empty());
}

TEST_F(HostFiles, NoReaderEverSeesAPartlyWrittenState) {
  const std::string first(200000, 'a');
  const std::string second(300000, 'b');
  WriteFile(".zorvexstate", first);
  pid_t writer = fork();
  if (writer == 0) {
    for (int i = 0; i < 200; ++i) host.SaveState(String((i % 2 ? first : second).c_str()));
    _exit(0);
  }
  int reads = 0;
  int status = 0;
  while (waitpid(writer, &status, WNOHANG) == 0) {
    std::string seen = ReadFile(".zorvexstate");
    ASSERT_TRUE(seen == first || seen == second) << "a read of " << seen.size() << " bytes";
    ++reads;
  }
  EXPECT_GT(reads, 0);
  EXPECT_EQ(ReadFile(".zorvexstate"), first);
}

TEST_F(HostFiles, AStateFileThatCannotBeReadIsNeverReplacedAndTheConsoleSaysSoOnce) {
  WriteFile(".zorvexstate", "5 games and 13 badges");
  fs::permissions(".zorvexstate", fs::perms::none);
  fs::permissions(folder, fs::perms::all);
  int status = InChild([&] {
    if (!freopen("console.txt", "w", stdout) || !BecomeNobody()) return 100;
    if (!host.LoadState().IsEmpty()) return 101;
    host.SaveState(String("defaults"));
    return host.SaveState(String("defaults"));
  });
  EXPECT_EQ(status, 0xFF);  // -1
  EXPECT_EQ(ReadFile("console.txt"),
            "The state file ./.zorvexstate cannot be read (Permission denied): "
            "playing on without saving.\n");
  fs::permissions(".zorvexstate", fs::perms::owner_read);
  EXPECT_EQ(ReadFile(".zorvexstate"), "5 games and 13 badges");
}

TEST_F(HostFiles, AProtectedFileStaysAndALinkedFileIsReplacedWhereItLivesWithItsMode) {
  StateFile protectedFile("./protected");
  WriteFile("protected", "kept");
  fs::permissions("protected", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(protectedFile.Save("new"), -1);
  EXPECT_EQ(ReadFile("protected"), "kept");
  EXPECT_NE(protectedFile.TakeNotice().find("is write-protected"), std::string::npos);

  fs::create_directory("saves");
  WriteFile("saves/real", "old");
  fs::permissions("saves/real", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("saves/real", "linked");
  StateFile linked("./linked");
  EXPECT_EQ(linked.Load(), "old");
  EXPECT_EQ(linked.Save("new"), 0);
  EXPECT_TRUE(fs::is_symlink("linked"));
  EXPECT_EQ(ReadFile("saves/real"), "new");
  EXPECT_EQ(fs::status("saves/real").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator("saves"), {}), 1);
}

TEST_F(HostFiles, OnlyARegularFileOfAtMost64KbLoadsAndNoSpecialFileIsReplaced) {
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  fs::create_symlink("fifo", "to-fifo");
  fs::create_symlink("/dev/zero", "to-zero");
  WriteFile("huge", "");
  fs::resize_file("huge", 2200000000u);
  // A child, so that a hang ends with the alarm instead of the test.
  int status = InChild([] {
    alarm(10);
    // One at a time: each holds the folder while it lives.
    auto fifo = std::make_unique<StateFile>("./to-fifo");
    if (!fifo->Load().empty() || fifo->Save("x") != -1) return 1;
    fifo.reset();
    auto zero = std::make_unique<StateFile>("./to-zero");
    if (!zero->Load().empty() || zero->TakeNotice().find("not a regular") == std::string::npos) {
      return 2;
    }
    zero.reset();
    StateFile huge("./huge");
    if (!huge.Load().empty() || huge.TakeNotice().find("damaged") == std::string::npos) return 3;
    return huge.Save("fresh");
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(fs::is_fifo("fifo"));
  EXPECT_EQ(ReadFile("huge"), "fresh");
  EXPECT_EQ(fs::file_size("huge.damaged"), 2200000000u);
}

TEST_F(HostFiles, ASecondCopySavesOnceTheFirstHasQuitAndOnlyThisHostsDeadTemporariesGo) {
  WriteFile(".zorvexstate", "mine");
  // A copy killed while it writes leaves its temporary, named for this host.
  pid_t gone = fork();
  if (gone == 0) {
    rlimit limit = {100, 100}, noCore = {0, 0};
    setrlimit(RLIMIT_FSIZE, &limit);
    setrlimit(RLIMIT_CORE, &noCore);
    StateFile("./.zorvexstate").Save(std::string(1000, 'x'));
    _exit(0);
  }
  waitpid(gone, nullptr, 0);
  const std::string mark = ".zorvexstate.new-";
  const std::string stale = mark + HostName() + "-" + std::to_string(gone);
  EXPECT_EQ(StrayFiles(), std::vector<std::string>{stale});
  const std::string older = mark + std::to_string(gone);  // before hosts were named
  const std::string live = mark + HostName() + "-" + std::to_string(getppid());
  const std::string elsewhere = mark + "other-machine-" + std::to_string(gone);
  for (const std::string& name : {older, live, elsewhere}) WriteFile(name, "busy");

  // The first copy is a child that holds the folder until it is killed.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t first = fork();
  if (first == 0) {
    StateFile file("./.zorvexstate");
    file.Load();
    if (write(ready[1], "!", 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_FALSE(fs::exists(older));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(elsewhere));
  StateFile second("./.zorvexstate");
  EXPECT_EQ(second.Load(), "mine");
  EXPECT_EQ(second.TakeNotice(), "Another copy of Marvolet is running in " + folder.string() +
                                     ": this copy saves its settings, badges and scores only "
                                     "once that one has quit.");
  EXPECT_EQ(second.TakeScreenNotice(), "Not saving: another copy is running");
  EXPECT_EQ(second.Save("theirs"), -1);
  EXPECT_EQ(second.Load(), "mine");
  EXPECT_EQ(second.TakeNotice() + second.TakeScreenNotice(), "");
  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
  EXPECT_EQ(second.Save("after the first quit"), 0);
  EXPECT_EQ(ReadFile(".zorvexstate"), "after the first quit");
  EXPECT_EQ(second.TakeNotice(), "");
  close(ready[0]);
  close(ready[1]);
}

TEST_F(HostFiles, ADamagedFileIsKeptAsideOnceBeforeTheFirstSaveReplacesIt) {
  WriteFile(".zorvexstate.damaged", "damaged before");
  WriteFile(".zorvexstate", "15 badges, then garbage");
  StateFile file("./.zorvexstate");
  EXPECT_EQ(file.Load(), "15 badges, then garbage");
  file.MarkDamaged();
  EXPECT_EQ(file.Save("first"), 0);
  EXPECT_EQ(file.TakeNotice(), "The damaged state file ./.zorvexstate is kept as " +
                                   fs::canonical(folder).string() + "/.zorvexstate.damaged.");
  EXPECT_EQ(file.Load(), "first");
  file.MarkDamaged();
  EXPECT_EQ(file.Save("second"), 0);
  EXPECT_EQ(ReadFile(".zorvexstate"), "second");
  EXPECT_EQ(ReadFile(".zorvexstate.damaged"), "15 badges, then garbage");
}

TEST_F(HostFiles, LoadDataReadsWholeFilesAcrossBlocks) {
  for (int size : {0, 1, 4096, 8192, 10000}) {
    std::string bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    WriteFile("blob.bin", bytes);
    int before = gc_ext_new_bytes;
    int length = -7;
    unsigned char* data = host.LoadData(String("blob.bin"), &length);
    ASSERT_NE(data, nullptr) << size;
    EXPECT_EQ(length, size);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    EXPECT_EQ(gc_ext_new_bytes - before, size);
    free(data);
  }
}

TEST_F(HostFiles, MissingFilesGiveNothing) {
  int length = -7;
  EXPECT_EQ(host.LoadData(String("none.bin"), &length), nullptr);
  EXPECT_EQ(length, -7);
  EXPECT_EQ(host.LoadData(String("zorvex://nowhere/x"), &length), nullptr);
  EXPECT_TRUE(host.LoadString(String("none.txt")).IsEmpty());
  int width = 0, height = 0, depth = 0;
  EXPECT_EQ(host.LoadImageData(String("none.png"), &width, &height, &depth), nullptr);
}

TEST_F(HostFiles, AFolderIsNoFile) {
  fs::create_directory("sub");
  int length = -7;
  EXPECT_EQ(host.LoadData(String("sub"), &length), nullptr);
  EXPECT_EQ(length, -7);
  EXPECT_EQ(host.OpenFile(String("./sub"), String("rb")), nullptr);
  EXPECT_TRUE(host.LoadString(String("sub")).IsEmpty());
}

TEST_F(HostFiles, FilesWithNamesOutsideAsciiOpen) {
  WriteFile("caf\xC3\xA9.txt", "\xE2\x82\xAC");
  String text = host.LoadString(Text({u'c', u'a', u'f', u'\u00e9', u'.', u't', u'x', u't'}));
  EXPECT_TRUE(text == Text({u'\u20ac'}));
}

TEST_F(HostFiles, ImagesDecodeWithTheirOwnNumberOfChannels) {
  const unsigned char rgba[3 * 2 * 4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                         13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
  ASSERT_TRUE(stbi_write_png("rgba.png", 3, 2, 4, rgba, 3 * 4));
  ASSERT_TRUE(stbi_write_png("grey.png", 3, 2, 1, rgba, 3));
  int width = 0, height = 0, depth = 0;
  int before = gc_ext_new_bytes;
  unsigned char* pixels = host.LoadImageData(String("rgba.png"), &width, &height, &depth);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(depth, 4);
  EXPECT_EQ(memcmp(pixels, rgba, sizeof rgba), 0);
  EXPECT_EQ(gc_ext_new_bytes - before, 24);
  free(pixels);
  pixels = host.LoadImageData(String("grey.png"), &width, &height, &depth);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(depth, 1);
  free(pixels);

  WriteFile("broken.png", "\x89PNG\r\n\x1a\n not really");
  EXPECT_EQ(host.LoadImageData(String("broken.png"), &width, &height, &depth), nullptr);

  // A header that declares 100,000 pixels across is refused before decoding.
  std::ifstream in("rgba.png", std::ios::binary);
  std::string huge((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  huge.replace(16, 4, std::string("\0\x01\x86\xA0", 4));
  WriteFile("huge.png", huge);
  // So is one whose data chunk claims two gigabytes of a file of a hundred bytes.
  std::string claims(huge.substr(0, 33) + std::string("\x7d\x00\x59\x2e", 4) + "IDAT" + "abcd");
  claims.replace(16, 4, std::string("\0\0\0\x03", 4));
  WriteFile("claims.png", claims);
  testing::internal::CaptureStderr();
  EXPECT_EQ(host.LoadImageData(String("huge.png"), &width, &height, &depth), nullptr);
  EXPECT_EQ(host.LoadImageData(String("claims.png"), &width, &height, &depth), nullptr);
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_THAT(told, testing::HasSubstr("huge.png: too large a picture (100000x2 pixels)"));
  EXPECT_THAT(told, testing::HasSubstr("claims.png: a damaged picture"));
  // A whole picture still loads after the chunks are walked.
  pixels = host.LoadImageData(String("rgba.png"), &width, &height, &depth);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(memcmp(pixels, rgba, sizeof rgba), 0);
  free(pixels);
}

// Plain 8-bit pictures decode in one buffer to the general decoder's pixels,
// whatever filter their rows use; one with a transparent colour is left to
// the general decoder, which gives it an alpha channel.
TEST_F(HostFiles, PlainPicturesDecodeInOneBufferToTheGeneralDecodersPixels) {
  const int w = 37, h = 23;
  std::vector<unsigned char> source(w * h * 4);
  for (size_t i = 0; i < source.size(); ++i) {
    source[i] = static_cast<unsigned char>(i % 7 == 0 ? (i * 2654435761u) >> 13 : i % (4 * w) * 5 + i / (4 * w) * 3);
  }
  auto same = [&](const char* name, int wanted) {
    int width = 0, height = 0, depth = 0, expectedDepth = 0;
    unsigned char* expected = stbi_load(name, &width, &height, &expectedDepth, 0);
    unsigned char* pixels = host.LoadImageData(String(name), &width, &height, &depth);
    EXPECT_EQ(depth, wanted) << name;
    const bool equal = pixels && expected && depth == expectedDepth && width == w && height == h &&
                       memcmp(pixels, expected, static_cast<size_t>(w) * h * depth) == 0;
    free(pixels);
    // A block alone: streamed from a plain picture, cut from the whole of another.
    unsigned char* part = host.LoadImagePart(String(name), 6, 5, 11, 9, &width, &height, &depth);
    bool partEqual = part && expected && height == h;
    for (int row = 0; partEqual && row < 9; ++row) {
      partEqual =
          memcmp(part + row * 11 * depth, expected + ((5 + row) * w + 6) * depth, 11 * depth) == 0;
    }
    EXPECT_TRUE(partEqual) << name << ": 11 x 9 at (6, 5)";
    free(part);
    stbi_image_free(expected);
    return equal;
  };
  for (int filter = 0; filter <= 4; ++filter) {
    stbi_write_force_png_filter = filter;
    for (int channels = 1; channels <= 4; ++channels) {
      const std::string name = "plain" + std::to_string(filter) + std::to_string(channels) + ".png";
      ASSERT_TRUE(stbi_write_png(name.c_str(), w, h, channels, source.data(), w * channels));
      FILE* file = fopen(name.c_str(), "rb");
      const PngRead direct = DecodePlainPng(file);
      fclose(file);
      EXPECT_NE(direct.pixels, nullptr) << name << " is a plain picture";
      free(direct.pixels);
      EXPECT_TRUE(same(name.c_str(), channels)) << name;
    }
  }
  stbi_write_force_png_filter = -1;
  std::string keyed = ReadFile("plain23.png");
  keyed.insert(33, std::string("\0\0\0\x06tRNS\0\x01\0\x02\0\x03....", 18));
  WriteFile("keyed.png", keyed);
  EXPECT_TRUE(same("keyed.png", 4));
  int width = 0, height = 0, depth = 0;
  EXPECT_EQ(host.LoadImagePart(String("plain44.png"), 30, 20, 8, 4, &width, &height, &depth),
            nullptr)
      << "a block past the picture's corner";
  // Image data cut short: the block below the cut is refused, not read past the end.
  std::string cut = ReadFile("plain44.png");
  WriteFile("cut.png", cut.substr(0, cut.size() / 2) + cut.substr(cut.size() - 12));
  EXPECT_EQ(host.LoadImagePart(String("cut.png"), 0, 14, 8, 9, &width, &height, &depth), nullptr);
}

#ifdef MARVOLET_AUDIO_DECODE
TEST_F(HostFiles, SoundsDecodeByTheirExtensionInAnyCase) {
  // A mono 8-bit WAV of four frames at 8000 Hz.
  std::string wav = std::string("RIFF") + std::string("\x28\0\0\0", 4) + "WAVEfmt " +
                    std::string("\x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0", 20) +
                    "data" + std::string("\x04\0\0\0", 4) + "\x80\x90\xA0\xB0";
  WriteFile("beep.WAV", wav);
  WriteFile("beep.mp3", wav);
  int length = 0, channels = 0, format = 0, hertz = 0;
  unsigned char* samples = host.LoadAudioData(String("beep.WAV"), &length, &channels, &format, &hertz);
  ASSERT_NE(samples, nullptr);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(channels, 1);
  EXPECT_EQ(format, 1);
  EXPECT_EQ(hertz, 8000);
  free(samples);
  EXPECT_EQ(host.LoadAudioData(String("beep.mp3"), &length, &channels, &format, &hertz), nullptr);
}
#endif

TEST_F(HostFiles, AUrlReachesTheOpenerAsOneArgumentAndRunsNoCommand) {
  WriteFile("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > opened.tmp && mv opened.tmp opened\n");
  fs::permissions("xdg-open", fs::perms::owner_all);
  std::string path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
  const std::string url = "http://x/?a=1&b='; touch pwned; '$(touch pwned2)`touch pwned3`";
  host.OpenUrl(String(url.c_str()));
  for (int i = 0; i < 500 && !fs::exists("opened"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(ReadFile("opened"), "1\n" + url + "\n");
  for (const char* name : {"pwned", "pwned2", "pwned3"}) EXPECT_FALSE(fs::exists(name)) << name;
}

TEST(HostDate, FillsAsManyLeadingFieldsAsTheArrayHas) {
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  Array<int> date(3);
  host.GetDate(date);
  time_t now = time(nullptr);
  tm local;
  localtime_r(&now, &local);
  EXPECT_EQ(date[0], local.tm_year + 1900);
  EXPECT_EQ(date[1], local.tm_mon + 1);
  EXPECT_EQ(date[2], local.tm_mday);

  Array<int> longer(9);
  longer[7] = longer[8] = longer[6] = -5;
  host.GetDate(longer);
  EXPECT_EQ(longer[6], 0);
  EXPECT_EQ(longer[7], -5);
  EXPECT_GE(longer[3], 0);
  EXPECT_LE(longer[3], 23);
  host.GetDate(Array<int>());  // nothing to fill, nothing to break
}

}  // namespace
