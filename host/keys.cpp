// host/keys.cpp: the key translation table.
#include "host/keys.h"

#include <GLFW/glfw3.h>

const int kLastGlfwKey = GLFW_KEY_LAST;

namespace {

struct KeyRow {
  int glfwKey;
  int code;
};

// Keys whose code is not their own number. Digits and letters map to
// themselves; everything not listed (Alt, the system and lock keys, F13 and
// above, keypad Enter and '=') is ignored.
constexpr KeyRow kKeyTable[] = {
    {GLFW_KEY_SPACE, 32},        {GLFW_KEY_APOSTROPHE, 222},   {GLFW_KEY_COMMA, 188},
    {GLFW_KEY_MINUS, 189},       {GLFW_KEY_PERIOD, 190},       {GLFW_KEY_SLASH, 191},
    {GLFW_KEY_SEMICOLON, 186},   {GLFW_KEY_EQUAL, 187},        {GLFW_KEY_LEFT_BRACKET, 219},
    {GLFW_KEY_BACKSLASH, 220},   {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192},
    {GLFW_KEY_ESCAPE, 27},       {GLFW_KEY_ENTER, 13},         {GLFW_KEY_TAB, 9},
    {GLFW_KEY_BACKSPACE, 8},     {GLFW_KEY_INSERT, 45},        {GLFW_KEY_DELETE, 46},
    {GLFW_KEY_RIGHT, 39},        {GLFW_KEY_LEFT, 37},          {GLFW_KEY_DOWN, 40},
    {GLFW_KEY_UP, 38},           {GLFW_KEY_PAGE_UP, 33},       {GLFW_KEY_PAGE_DOWN, 34},
    {GLFW_KEY_HOME, 36},         {GLFW_KEY_END, 35},           {GLFW_KEY_KP_DECIMAL, 110},
    {GLFW_KEY_KP_DIVIDE, 111},   {GLFW_KEY_KP_MULTIPLY, 106},  {GLFW_KEY_KP_SUBTRACT, 109},
    {GLFW_KEY_KP_ADD, 107},      {GLFW_KEY_LEFT_SHIFT, 16},    {GLFW_KEY_RIGHT_SHIFT, 16},
    {GLFW_KEY_LEFT_CONTROL, 17}, {GLFW_KEY_RIGHT_CONTROL, 17},
};

// Runs of consecutive keys with consecutive codes.
struct KeyRun {
  int firstKey;
  int lastKey;
  int firstCode;
};

constexpr KeyRun kKeyRuns[] = {
    {GLFW_KEY_0, GLFW_KEY_9, '0'},
    {GLFW_KEY_A, GLFW_KEY_Z, 'A'},
    {GLFW_KEY_F1, GLFW_KEY_F12, 112},
    {GLFW_KEY_KP_0, GLFW_KEY_KP_9, 96},
};

}  // namespace

int TranslateGlfwKey(int key) {
  for (const KeyRun& run : kKeyRuns) {
    if (key >= run.firstKey && key <= run.lastKey) return run.firstCode + key - run.firstKey;
  }
  for (const KeyRow& row : kKeyTable) {
    if (row.glfwKey == key) return row.code;
  }
  return 0;
}

int KeyCodeChar(int code) {
  switch (code) {
    case 8:
    case 9:
    case 13:
    case 27:
      return code;
    case 46:
      return 127;
    case 45:
      return code | 0x10000;
    default:
      return code >= 33 && code <= 40 ? code | 0x10000 : 0;
  }
}
