// runtime/map.h: the red-black tree keyed by int behind every map class.
//
// A concrete map names its node class: `class c_Node : public
// GenericMapNode<c_Node, V> {}` and `class c_Map : public GenericMap<c_Node, V>`,
// whose subclasses give the key order through p_Compare. Every pointer store
// goes through the write barrier.
#pragma once

#include "runtime/array.h"

template <class Node, class V>
class GenericMapNode : public Object {
 public:
  static constexpr int kRed = -1;
  static constexpr int kBlack = 1;

  int m_Key = 0;
  Node* m_Right = nullptr;
  Node* m_Left = nullptr;
  V m_Value{};
  int m_Color = kRed;
  Node* m_Parent = nullptr;

  Node* m_new(int key, V value, int color, Node* parent) {
    m_Key = key;
    gc_store(m_Value, value);
    m_Color = color;
    gc_assign(m_Parent, parent);
    return static_cast<Node*>(this);
  }
  Node* m_new() { return static_cast<Node*>(this); }

  void mark() override {
    gc_push_grey(m_Right);
    gc_push_grey(m_Left);
    gc_mark_field(m_Value);
    gc_push_grey(m_Parent);
  }
};

template <class Node, class V>
class GenericMap : public Object {
 public:
  Node* m_Root = nullptr;

  // The key order: negative, zero or positive as a sorts before, with or after b.
  virtual int p_Compare(int a, int b) = 0;

  Node* p_FindNode(int key) {
    Node* node = m_Root;
    while (node) {
      int d = p_Compare(key, node->m_Key);
      if (d > 0) {
        node = node->m_Right;
      } else if (d < 0) {
        node = node->m_Left;
      } else {
        return node;
      }
    }
    return nullptr;
  }

  bool p_Contains(int key) { return p_FindNode(key) != nullptr; }

  // Replaces the value of an existing key (false) or inserts a new node (true).
  bool p_Set(int key, V value) {
    Node* node = m_Root;
    Node* parent = nullptr;
    int d = 0;
    while (node) {
      parent = node;
      d = p_Compare(key, node->m_Key);
      if (d > 0) {
        node = node->m_Right;
      } else if (d < 0) {
        node = node->m_Left;
      } else {
        gc_store(node->m_Value, value);
        return false;
      }
    }
    node = (new Node())->m_new(key, value, Node::kRed, parent);
    if (!parent) {
      gc_assign(m_Root, node);
      return true;
    }
    if (d < 0) {
      gc_assign(parent->m_Left, node);
    } else {
      gc_assign(parent->m_Right, node);
    }
    InsertFixup(node);
    return true;
  }
  bool p_Insert(int key, V value) { return p_Set(key, value); }

  void mark() override { gc_push_grey(m_Root); }

 private:
  static bool IsRed(Node* node) { return node && node->m_Color == Node::kRed; }

  void InsertFixup(Node* node) {
    while (IsRed(node->m_Parent) && node->m_Parent->m_Parent) {
      Node* parent = node->m_Parent;
      Node* grand = parent->m_Parent;
      bool left_side = parent == grand->m_Left;
      Node* uncle = left_side ? grand->m_Right : grand->m_Left;
      if (IsRed(uncle)) {
        parent->m_Color = Node::kBlack;
        uncle->m_Color = Node::kBlack;
        grand->m_Color = Node::kRed;
        node = grand;
        continue;
      }
      if (node == (left_side ? parent->m_Right : parent->m_Left)) {
        node = parent;
        Rotate(node, left_side);
        parent = node->m_Parent;
      }
      parent->m_Color = Node::kBlack;
      grand->m_Color = Node::kRed;
      Rotate(grand, !left_side);
    }
    m_Root->m_Color = Node::kBlack;
  }

  // Rotates left (the right child rises) or right (the left child rises).
  void Rotate(Node* node, bool left) {
    Node* child = left ? node->m_Right : node->m_Left;
    Node* inner = left ? child->m_Left : child->m_Right;
    gc_assign(left ? node->m_Right : node->m_Left, inner);
    if (inner) gc_assign(inner->m_Parent, node);
    Node* parent = node->m_Parent;
    gc_assign(child->m_Parent, parent);
    if (!parent) {
      gc_assign(m_Root, child);
    } else if (node == parent->m_Right) {
      gc_assign(parent->m_Right, child);
    } else {
      gc_assign(parent->m_Left, child);
    }
    gc_assign(left ? child->m_Left : child->m_Right, node);
    gc_assign(node->m_Parent, child);
  }
};
