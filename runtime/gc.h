// runtime/gc.h: collected objects and the incremental tri-colour collector.
//
// Every object of the application layer derives from gc_object and is made
// with `new` (which allocates through gc_object_alloc); the program never
// deletes one. The collector's roots are the registered module globals only
// and it runs only between host events, so objects held in locals are safe
// for the length of an event.
//
// Colours: an object is white (unmarked) when flags & 3 == gc_markbit and
// marked (grey in the queued list, black in the marked list) when it equals
// gc_markbit ^ 1. Colour 3 is permanent: never queued, marked or freed.
//
// Invariant: a black object never points to a white one. It holds because
// every store of an object reference goes through gc_assign, which greys the
// stored value first; so incremental marking may pause between any two events.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "runtime/string.h"

struct gc_object {
  gc_object* next;
  gc_object* prev;
  // The allocated size (a multiple of 8) above bit 2, the colour in bits 0-1.
  int flags;

  // Claims the storage that gc_object_alloc handed out for this object, sets
  // its size and colour and puts it at the tail of the unmarked list. An
  // object built anywhere else (a static, a local) becomes permanent.
  // (The allocator cannot write these fields itself: value-initialisation
  // zero-fills an object before its constructors run.)
  gc_object();
  // A list sentinel or a permanent object: colour 3, outside every list.
  struct Permanent {};
  explicit gc_object(Permanent);
  gc_object(const gc_object&) = delete;
  gc_object& operator=(const gc_object&) = delete;
  // Unlinks the object if it is still in a list (a constructor that threw).
  virtual ~gc_object();
  // Greys each object field (gc_push_grey); arrays mark their elements at once.
  virtual void mark();

  static void* operator new(size_t size);
  static void* operator new(size_t size, void* storage) { return storage; }
  // Only reached when a constructor throws: the storage goes back at once.
  static void operator delete(void* storage, size_t size);
  static void operator delete(void*, void*) {}
};

// Base of interface types; a reference held through one is marked by finding its object.
struct gc_interface {
  virtual ~gc_interface() {}
};

struct Object : gc_object {
  virtual bool Equals(Object* other) { return this == other; }
  // The difference of the two addresses, as an int.
  virtual int Compare(Object* other);
  virtual String debug();
};

// Root of the program's exception classes, thrown as ThrowableObject*.
struct ThrowableObject : Object {};

// Collector state (main thread only, but gc_ext_new_bytes and gc_text_new_bytes).
extern int gc_markbit;
extern gc_object gc_free_list;
extern gc_object gc_marked_list;
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
// Freed blocks of 8 x i bytes (i < 8), linked through their first word.
extern gc_object* gc_cache[8];
extern int gc_new_bytes;
extern std::atomic<int> gc_ext_new_bytes;
// String text allocated since the last cycle, on any thread: text held by a
// collected object is freed only with it, so it paces the cycles too.
extern std::atomic<int> gc_text_new_bytes;
extern int gc_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;
extern int gc_max_alloced_bytes;
// Debug switch: every gc_collect runs a full cycle.
extern bool gc_stress;
// Full cycles run so far (for soaks and benches).
extern int gc_full_cycles;

// Full cycle threshold: bytes allocated (here, outside and as text) since the last cycle.
constexpr int gc_cycle_bytes = 8388608;
// Blocks up to this size are recycled through gc_cache, never given back.
constexpr int gc_cache_max_bytes = 63;

// Raw storage for an object of `size` bytes; its constructor must follow.
void* gc_object_alloc(int size);
// The same, with every byte zero and, for a large block, no page written:
// untouched pages of a large zero-filled array cost no memory.
void* gc_object_alloc(int size, bool zeroed);
// Returns the storage of an object that is in no list: one whose constructor
// threw, or one destroyed from the free list. `size` is the requested size.
void gc_object_free(void* storage, int size);
void gc_push_grey(gc_object* object);
// The immediate mark: blackens the object and runs its mark() at once.
void gc_mark(gc_object* object);
void gc_ext_malloced(int bytes);
// One collector step: incremental marking, or a full cycle past gc_cycle_bytes.
void gc_collect();
void gc_init1();
void gc_init2();
// Greys the roots, in the order they were registered.
void gc_mark();
// Destroys every collected object and zeroes the counters (tests, shutdown).
void gc_release_all();

template <class T>
inline gc_object* gc_object_of(T* p) {
  if constexpr (std::is_base_of<gc_object, T>::value) {
    return p;
  } else {
    return p ? dynamic_cast<gc_object*>(p) : nullptr;
  }
}

// Roots: the module globals that hold objects. A root is read through `read`
// each time; `immediate` roots (arrays) are marked with gc_mark, the others greyed.
using gc_root_reader = gc_object* (*)(const void* slot);
void gc_add_root(const void* slot, gc_root_reader read, bool immediate);
void gc_add_root(gc_object** slot, bool immediate = false);
void gc_clear_roots();
// A global holding an object or an interface reference.
template <class T>
void gc_add_root(T** slot) {
  static_assert(std::is_base_of<gc_object, T>::value || std::is_polymorphic<T>::value,
                "roots hold collected objects");
  gc_add_root(
      slot, [](const void* s) { return gc_object_of(*static_cast<T* const*>(s)); }, false);
}

inline bool gc_is_white(const gc_object* object) { return (object->flags & 3) == gc_markbit; }
inline int gc_size_of(const gc_object* object) { return object->flags & ~7; }

template <class T>
inline void gc_push_grey(T* p) {
  gc_push_grey(gc_object_of(p));
}
template <class T>
inline void gc_mark(T* p) {
  gc_mark(gc_object_of(p));
}

// The write barrier for every store of an object reference into a field, an
// array element or a global.
template <class T, class U>
inline U* gc_assign(T*& field, U* value) {
  gc_push_grey(value);
  field = value;
  return value;
}
template <class T>
inline T* gc_assign(T*& field, std::nullptr_t) {
  field = nullptr;
  return nullptr;
}

// Checks the heap: each list well linked, colours as the list says, byte
// counts consistent, no root and no black object pointing at a white one.
// Returns an empty string when all holds, else a description of the first fault.
String gc_check_heap();
// The index of the first root holding a white object, or -1.
int gc_white_root();
// While gc_checking is set, gc_push_grey and gc_mark colour nothing and
// record the first white object they are given in gc_check_white.
extern bool gc_checking;
extern gc_object* gc_check_white;
