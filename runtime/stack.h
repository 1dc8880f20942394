// runtime/stack.h: the growable list behind every stack class, and the string stacks.
//
// Each concrete stack (c_Stack, c_Stack2, c_Stack3, ...) is GenericStack over
// its element type. The numbered names (p_Push4..p_Push6, p_Length2) are the
// same operations under the names some element types use.
#pragma once

#include "runtime/array.h"

template <class T, class Self>
class GenericStack : public Object {
 public:
  Array<T> m_Data;
  int m_Length = 0;
  // Written into slots that fall out of use.
  inline static T m_NIL{};

  Self* m_new() {
    gc_assign(m_Data, Array<T>());
    m_Length = 0;
    return self();
  }
  // A stack holding a copy of `data`; the caller's array is never shared.
  Self* m_new2(Array<T> data) {
    gc_assign(m_Data, Array<T>(data.Data(), data.Length()));
    m_Length = data.Length();
    return self();
  }

  int p_Push(T value) {
    if (m_Length == m_Data.Length()) gc_assign(m_Data, m_Data.Resize(m_Length * 2 + 10));
    gc_store(m_Data[m_Length], value);
    ++m_Length;
    return 0;
  }
  // Appends values[offset .. offset + count - 1]; the range is clipped to the array.
  int p_Push2(Array<T> values, int offset, int count) {
    if (offset < 0) offset = 0;
    if (count > values.Length() - offset) count = values.Length() - offset;
    for (int i = 0; i < count; ++i) p_Push(values[offset + i]);
    return 0;
  }
  int p_Push3(Array<T> values, int offset) {
    if (offset < 0) offset = 0;  // keeps the count below from overflowing
    return p_Push2(values, offset, values.Length() - offset);
  }
  int p_Push4(T value) { return p_Push(value); }
  int p_Push5(Array<T> values, int offset, int count) { return p_Push2(values, offset, count); }
  int p_Push6(Array<T> values, int offset) { return p_Push3(values, offset); }

  // A new array of exactly m_Length elements (the shared empty one for none).
  Array<T> p_ToArray() { return Array<T>(m_Data.Data(), m_Length); }

  int p_Length() { return m_Length; }
  int p_Length2() { return m_Length; }
  // Shrinks (emptying the dropped slots) or grows to n elements.
  int p_Length(int n) {
    if (n < 0) n = 0;
    for (int i = n; i < m_Length; ++i) gc_store(m_Data[i], m_NIL);
    if (n > m_Data.Length()) {
      int capacity = m_Length * 2 + 10;
      gc_assign(m_Data, m_Data.Resize(capacity > n ? capacity : n));
    }
    m_Length = n;
    return 0;
  }

  // The element at index; m_NIL outside the storage.
  T p_Get(int index) {
    if (index < 0 || index >= m_Data.Length()) return m_NIL;
    return m_Data[index];
  }

  int p_Clear() {
    for (int i = 0; i < m_Length; ++i) gc_store(m_Data[i], m_NIL);
    m_Length = 0;
    return 0;
  }

  void mark() override { gc_mark_array(m_Data); }

 private:
  Self* self() { return static_cast<Self*>(this); }
};

// A stack of strings; m_NIL is the empty string.
class c_Stack2 : public GenericStack<String, c_Stack2> {};

class c_StringStack : public c_Stack2 {
 public:
  c_StringStack* m_new() {
    c_Stack2::m_new();
    return this;
  }
  c_StringStack* m_new2(Array<String> data) {
    c_Stack2::m_new2(data);
    return this;
  }
  // The elements joined with `separator` between them.
  String p_Join(String separator) { return separator.Join(p_ToArray()); }
};
