// host/display_mode.h: a screen size, and the stack and map classes that collect them.
#pragma once

#include "runtime/map.h"
#include "runtime/stack.h"

class c_DisplayMode : public Object {
 public:
  int m_Width = 0;
  int m_Height = 0;

  c_DisplayMode() {}
  c_DisplayMode(int width, int height) : m_Width(width), m_Height(height) {}
  c_DisplayMode* m_new(int width, int height) {
    m_Width = width;
    m_Height = height;
    return this;
  }
  c_DisplayMode* m_new() { return this; }
};

class c_Stack : public GenericStack<c_DisplayMode*, c_Stack> {};

class c_Node : public GenericMapNode<c_Node, c_DisplayMode*> {};

class c_Map : public GenericMap<c_Node, c_DisplayMode*> {
 public:
  c_Map* m_new() { return this; }
};

class c_IntMap : public c_Map {
 public:
  c_IntMap* m_new() {
    c_Map::m_new();
    return this;
  }
  // a - b, wrapping like the machine subtraction instead of overflowing.
  int p_Compare(int a, int b) override {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
  }
};
