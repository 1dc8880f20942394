// host/data_path.h: asset paths, the program's folder, and paths as UTF-8 bytes.
#pragma once

#include <string>

#include "runtime/string.h"

// The asset path rule of every loader: a path with a scheme ("zorvex://data/x")
// or one starting "./" or "/" stays as it is; any other is an asset in the
// data folder ("dice.png" becomes "zorvex://data/dice.png").
String rk_data_FixDataPath(String path);

// The folder of the running executable, without a trailing "/"; empty if unknown.
String ProgramFolder();

// Text as the UTF-8 bytes the platform takes for names and URLs.
std::string ToUtf8(const String& text);
