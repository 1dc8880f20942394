// runtime/array.h: the fixed-length collected array.
//
// An Array<T> is a value holding a pointer to a collected Rep: the collector
// header, the length, then the elements. Every element type has one shared
// empty Rep of permanent colour 3; every array of length 0 is that one.
// Storing an array into a field or global marks it at once (gc_assign below),
// so its elements never need the queue.
#pragma once

#include <climits>
#include <cstring>
#include <new>
#include <type_traits>

#include "runtime/gc.h"

// Clamps a slice range of a sequence of `length` items: negative ends count
// from the end, both ends are kept inside. False when the range is empty.
inline bool ClampSliceRange(int length, int* from, int* to) {
  if (*from < 0) {
    *from += length;
    if (*from < 0) *from = 0;
  } else if (*from > length) {
    *from = length;
  }
  if (*to < 0) {
    *to += length;
  } else if (*to > length) {
    *to = length;
  }
  return *to > *from;
}

template <class T>
class Array {
 public:
  struct Rep : gc_object {
    int length;

    Rep() : length(0) {}
    Rep(gc_object::Permanent p) : gc_object(p), length(0) { flags = 3; }
    // Storage that is already zero (gc_object_alloc with zeroed): nothing to write.
    struct ZeroFilled {};
    Rep(int n, ZeroFilled) : length(n) {
      static_assert(std::is_trivially_default_constructible<T>::value, "zero bits are the start value");
    }
    explicit Rep(int n) : length(n) {
      T* items = data();
      if constexpr (std::is_trivially_default_constructible<T>::value) {
        // Numbers, bools and references all start as zero bits.
        memset(static_cast<void*>(items), 0, sizeof(T) * n);
      } else {
        for (int i = 0; i < n; ++i) new (&items[i]) T();
      }
    }
    ~Rep() override {
      if constexpr (!std::is_trivially_destructible<T>::value) {
        T* items = data();
        for (int i = 0; i < length; ++i) items[i].~T();
      }
    }
    void mark() override {
      if constexpr (std::is_pointer<T>::value) {
        T* items = data();
        for (int i = 0; i < length; ++i) {
          if (items[i]) gc_mark(items[i]);
        }
      }
    }
    T* data() { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + DataOffset()); }
    static constexpr size_t DataOffset() {
      return (sizeof(Rep) + alignof(T) - 1) / alignof(T) * alignof(T);
    }
  };

  // The shared empty array of this element type: never marked, queued or freed.
  static Rep* nullRep() {
    static Rep empty{gc_object::Permanent{}};
    return &empty;
  }

  Array() : rep_(nullRep()) {}
  explicit Array(int length) : rep_(length > 0 ? New(length, false) : nullRep()) {}
  // A large array whose pages stay unwritten (and free) until an element is stored.
  static Array ZeroFilled(int length) { return Array(length > 0 ? New(length, true) : nullRep()); }
  Array(const T* items, int length) : Array(length) { Copy(Data(), items, Length()); }
  explicit Array(Rep* rep) : rep_(rep) {}

  int Length() const { return rep_->length; }
  T& operator[](int index) const { return rep_->data()[index]; }
  T* Data() const { return rep_->data(); }
  Rep* rep() const { return rep_; }
  bool operator==(const Array& other) const { return rep_ == other.rep_; }
  bool operator!=(const Array& other) const { return rep_ != other.rep_; }

  // A new array of `length` elements: the old ones copied, the rest default.
  Array Resize(int length) const {
    if (length <= 0) return Array();
    Array result(length);
    Copy(result.Data(), Data(), length < Length() ? length : Length());
    return result;
  }
  // Elements from..to-1 with the same clamping rules as String::Slice.
  Array Slice(int from, int to) const {
    if (!ClampSliceRange(Length(), &from, &to)) return Array();
    if (from == 0 && to == Length()) return *this;
    return Array(Data() + from, to - from);
  }
  Array Slice(int from) const { return Slice(from, Length()); }

 private:
  static Rep* New(int length, bool zeroed) {
    // Sizes are ints throughout the collector: a larger array cannot exist.
    if (static_cast<size_t>(length) > (INT_MAX - Rep::DataOffset()) / sizeof(T)) {
      throw std::bad_alloc();
    }
    int size = static_cast<int>(Rep::DataOffset() + sizeof(T) * length);
    void* storage = gc_object_alloc(size, zeroed);
    try {
      if constexpr (std::is_trivially_default_constructible<T>::value) {
        if (zeroed) return new (storage) Rep(length, typename Rep::ZeroFilled{});
      }
      return new (storage) Rep(length);
    } catch (...) {
      gc_object_free(storage, size);
      throw;
    }
  }
  // Copies into a new (white) array, so the stores need no barrier.
  static void Copy(T* to, const T* from, int count) {
    if (count <= 0) return;
    if constexpr (std::is_trivially_copyable<T>::value) {
      memcpy(static_cast<void*>(to), from, sizeof(T) * count);
    } else {
      for (int i = 0; i < count; ++i) to[i] = from[i];
    }
  }

  Rep* rep_;
};

// Arrays are marked at once when stored, not queued.
template <class T>
inline Array<T>& gc_assign(Array<T>& field, const Array<T>& value) {
  gc_mark(static_cast<gc_object*>(value.rep()));
  field = value;
  return field;
}

// Marks an array held in an object field from that object's mark().
template <class T>
inline void gc_mark_array(const Array<T>& array) {
  gc_mark(static_cast<gc_object*>(array.rep()));
}

// A global array is a root marked at once, like every stored array.
template <class T>
void gc_add_root(Array<T>* slot) {
  gc_add_root(
      slot, [](const void* s) -> gc_object* { return static_cast<const Array<T>*>(s)->rep(); },
      true);
}

// Stores a value of any element type: references and arrays through the
// barrier, plain values (numbers, strings) directly. Used by the generic containers.
template <class T>
struct gc_same {
  using type = T;
};
template <class T>
inline void gc_store(T& slot, const typename gc_same<T>::type& value) {
  slot = value;
}
template <class T>
inline void gc_store(T*& slot, typename gc_same<T*>::type value) {
  gc_assign(slot, value);
}
template <class T>
inline void gc_store(Array<T>& slot, const typename gc_same<Array<T>>::type& value) {
  gc_assign(slot, value);
}

// Marks a field of any element type from a mark() method.
template <class T>
inline void gc_mark_field(const T&) {}
template <class T>
inline void gc_mark_field(T* const& field) {
  gc_push_grey(field);
}
template <class T>
inline void gc_mark_field(const Array<T>& field) {
  gc_mark_array(field);
}
