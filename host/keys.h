// host/keys.h: GLFW 3 key numbers to the host's key codes, and the characters
// that some keys type by themselves.
#pragma once

// The highest GLFW key number.
extern const int kLastGlfwKey;

// The key code of a GLFW key number, or 0 for a key the host ignores.
int TranslateGlfwKey(int key);

// The character that a key code types itself, or 0: Backspace, Tab, Enter and
// Escape type their code, the navigation keys and Insert their code with bit
// 0x10000 set, Delete 127. Printable characters come from the character events.
int KeyCodeChar(int code);
