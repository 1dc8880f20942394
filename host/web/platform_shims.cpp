// host/web/platform_shims.cpp: what the shared host takes from the desktop's
// system libraries, for the page.
//
// PNG decoding: the desktop links Debian's libstb; the page compiles the
// same header, PNG only (all the game's pictures are PNG).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <spawn.h>

#include <cerrno>

// A page cannot start programs: opening a link on the desktop starts one,
// the page's host opens links itself (RkWebGame::OpenUrl).
extern "C" int posix_spawnp(pid_t*, const char*, const posix_spawn_file_actions_t*,
                            const posix_spawnattr_t*, char* const[], char* const[]) {
  return ENOSYS;
}
