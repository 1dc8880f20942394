// host/data_path.h: asset paths, the program's folder, and paths as the bytes
// the platform takes.
#pragma once

#include <string>

#include "runtime/string.h"

// The asset path rule of every loader: a path with a scheme ("zorvex://data/x")
// or one starting "./" or "/" stays as it is; any other is an asset in the
// data folder ("dice.png" becomes "zorvex://data/dice.png").
String rk_data_FixDataPath(String path);

// The folder of the running executable, without a trailing "/"; empty if
// unknown. Its name is kept byte for byte (FileNameText), UTF-8 or not.
String ProgramFolder();

// Text as the UTF-8 bytes the platform takes for URLs and text files.
std::string ToUtf8(const String& text);

// A file name's bytes as text that ToFileName turns back into the same bytes:
// ASCII as itself, any other byte b as U+DC00 + b, a lone surrogate that
// stands for no character.
String FileNameText(const std::string& bytes);
// Text as the bytes of a file name: UTF-8, except the kept bytes of FileNameText.
std::string ToFileName(const String& text);
