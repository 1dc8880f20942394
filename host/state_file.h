// host/state_file.h: replacing a small file so that readers see either the
// old contents or the new, never a part.
#pragma once

#include <string>

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. Returns 0; -1 when the file cannot be created or
// put in place; -2 when the write falls short. On failure `path` is untouched
// and the temporary file is gone.
int ReplaceFile(const std::string& path, const std::string& bytes);
