// runtime/gc.cpp: allocation, the size-class cache, marking and the collector step.
#include "runtime/gc.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

int gc_markbit = 0;
gc_object gc_free_list{gc_object::Permanent{}};
gc_object gc_marked_list{gc_object::Permanent{}};
gc_object gc_unmarked_list{gc_object::Permanent{}};
gc_object gc_queued_list{gc_object::Permanent{}};
gc_object* gc_cache[8];
int gc_new_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};
std::atomic<int> gc_text_new_bytes{0};
int gc_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;
int gc_max_alloced_bytes = 0;
bool gc_stress = false;
int gc_full_cycles = 0;

// Set by gc_check_heap while it replays the mark() of black objects: the
// marking functions then report white targets instead of colouring them.
bool gc_checking = false;
gc_object* gc_check_white = nullptr;

namespace {

// Blocks handed out by gc_object_alloc whose gc_object constructor has not
// run yet. Allocations nest (constructor arguments allocate), so it is a stack.
// Plain zero-initialised storage: usable before any static constructor runs.
struct PendingBlock {
  void* storage;
  int size;
};
PendingBlock* pending = nullptr;
int pending_count = 0;
int pending_capacity = 0;

void PushPending(void* storage, int size) {
  if (pending_count == pending_capacity) {
    pending_capacity = pending_capacity * 2 + 16;
    pending = static_cast<PendingBlock*>(realloc(pending, sizeof(PendingBlock) * pending_capacity));
  }
  pending[pending_count++] = PendingBlock{storage, size};
}

// Takes the pending entry of the block that holds `address` (the gc_object
// part may sit inside the block when an interface base comes first); its size, or -1.
int TakePending(const void* address) {
  const char* at = static_cast<const char*>(address);
  for (int i = pending_count - 1; i >= 0; --i) {
    const char* start = static_cast<const char*>(pending[i].storage);
    if (at < start || at >= start + pending[i].size) continue;
    int size = pending[i].size;
    memmove(&pending[i], &pending[i + 1], sizeof(PendingBlock) * (pending_count - 1 - i));
    --pending_count;
    return size;
  }
  return -1;
}

int RoundSize(int size) { return size <= 8 ? 8 : (size + 7) & ~7; }

void Unlink(gc_object* object) {
  object->prev->next = object->next;
  object->next->prev = object->prev;
}

void LinkTail(gc_object* list, gc_object* object) {
  object->prev = list->prev;
  object->next = list;
  list->prev->next = object;
  list->prev = object;
}

void MakeEmpty(gc_object* list) { list->next = list->prev = list; }

// Moves every object of `from` to the tail of `to`, leaving `from` empty.
void Splice(gc_object* from, gc_object* to) {
  if (from->next == from) return;
  from->next->prev = to->prev;
  to->prev->next = from->next;
  from->prev->next = to;
  to->prev = from->prev;
  MakeEmpty(from);
}

bool IsSentinel(const gc_object* p) {
  return p == &gc_free_list || p == &gc_marked_list || p == &gc_unmarked_list ||
         p == &gc_queued_list;
}

// The sentinel of the list holding `object` (walking forward is short for a
// young object, which sits near the tail).
gc_object* ListOf(gc_object* object) {
  gc_object* p = object->next;
  while (!IsSentinel(p)) p = p->next;
  return p;
}

void ReturnBlock(void* storage, int size) {
  if (size <= gc_cache_max_bytes) {
    *static_cast<gc_object**>(storage) = gc_cache[size / 8];
    gc_cache[size / 8] = static_cast<gc_object*>(storage);
  } else {
    free(storage);
  }
}

// Destroys the first object of the free list and recycles its storage.
void DestroyFirstGarbage() {
  gc_object* object = gc_free_list.next;
  Unlink(object);
  object->next = object->prev = nullptr;
  int size = gc_size_of(object);
  void* storage = dynamic_cast<void*>(object);  // the block starts at the whole object
  object->~gc_object();
  gc_free_bytes -= size;
  ReturnBlock(storage, size);
}

// Blackens a grey object: to the tail of the marked list, then its children.
void Blacken(gc_object* object) {
  Unlink(object);
  LinkTail(&gc_marked_list, object);
  gc_marked_bytes += gc_size_of(object);
  object->mark();
}

// Turns a white object to the marked colour; false for null, non-white, or
// while the heap check runs (which records the white object instead).
bool Shade(gc_object* object) {
  if (!object || !gc_is_white(object)) return false;
  if (gc_checking) {
    if (!gc_check_white) gc_check_white = object;
    return false;
  }
  object->flags ^= 1;
  return true;
}

void FullCycle() {
  ++gc_full_cycles;
  gc_ext_new_bytes.store(0);
  gc_text_new_bytes.store(0);
  // Garbage of the last cycle that allocation has not yet paid for goes now:
  // the outside memory it owns (text, buffers) waits at most one cycle.
  while (gc_free_list.next != &gc_free_list) DestroyFirstGarbage();
  while (gc_queued_list.next != &gc_queued_list) Blacken(gc_queued_list.next);
  int garbage = gc_alloced_bytes - gc_marked_bytes;
  if (garbage != 0) {
    Splice(&gc_unmarked_list, &gc_free_list);
    gc_free_bytes += garbage;
  }
  Splice(&gc_marked_list, &gc_unmarked_list);
  gc_alloced_bytes = gc_marked_bytes;
  gc_marked_bytes = 0;
  gc_markbit ^= 1;
  gc_mark();
  gc_new_bytes = 0;
}

void IncrementalStep() {
  int64_t target = gc_new_bytes + static_cast<int64_t>(gc_alloced_bytes - gc_new_bytes) *
                                      gc_new_bytes / gc_cycle_bytes;
  while (gc_marked_bytes < target && gc_queued_list.next != &gc_queued_list) {
    Blacken(gc_queued_list.next);
  }
}

}  // namespace

gc_object::gc_object() {
  int size = TakePending(this);
  if (size < 0) {
    next = prev = nullptr;
    flags = 3;
    return;
  }
  flags = size | gc_markbit;
  LinkTail(&gc_unmarked_list, this);
}

gc_object::gc_object(Permanent) : next(this), prev(this), flags(3) {}

gc_object::~gc_object() {
  if ((flags & 3) == 3 || !next) return;
  int size = gc_size_of(this);
  gc_object* list = ListOf(this);
  Unlink(this);
  if (list == &gc_free_list) {
    gc_free_bytes -= size;
    return;
  }
  gc_alloced_bytes -= size;
  if (list == &gc_marked_list) gc_marked_bytes -= size;
}

void gc_object::mark() {}

void* gc_object::operator new(size_t size) { return gc_object_alloc(static_cast<int>(size)); }

void gc_object::operator delete(void* storage, size_t size) {
  gc_object_free(storage, static_cast<int>(size));
}

int Object::Compare(Object* other) {
  return static_cast<int>(reinterpret_cast<intptr_t>(this) - reinterpret_cast<intptr_t>(other));
}

String Object::debug() { return String("+Object\n"); }

void* gc_object_alloc(int size) { return gc_object_alloc(size, false); }

void* gc_object_alloc(int size, bool zeroed) {
  size = RoundSize(size);
  gc_new_bytes += size;
  int floor = gc_free_bytes - size;
  if (floor < 0) floor = 0;
  while (gc_free_bytes > floor && gc_free_list.next != &gc_free_list) DestroyFirstGarbage();

  void* storage = nullptr;
  if (zeroed) {
    // calloc hands out fresh pages for a large block without writing them.
    storage = calloc(1, size);
  } else if (size <= gc_cache_max_bytes && gc_cache[size / 8]) {
    storage = gc_cache[size / 8];
    gc_cache[size / 8] = *static_cast<gc_object**>(storage);
  } else {
    storage = malloc(size);
  }
  gc_alloced_bytes += size;
  if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
  PushPending(storage, size);
  return storage;
}

void gc_object_free(void* storage, int size) {
  if (!storage) return;
  int pending_size = TakePending(storage);
  // A constructor that threw before the gc_object part ran: undo the count.
  if (pending_size >= 0) gc_alloced_bytes -= pending_size;
  ReturnBlock(storage, RoundSize(size));
}

void gc_push_grey(gc_object* object) {
  if (!Shade(object)) return;
  Unlink(object);
  LinkTail(&gc_queued_list, object);
}

void gc_mark(gc_object* object) {
  if (Shade(object)) Blacken(object);
}

void gc_ext_malloced(int bytes) { gc_ext_new_bytes.fetch_add(bytes); }

void gc_collect() {
  const int64_t paced = static_cast<int64_t>(gc_new_bytes) + gc_ext_new_bytes.load() +
                       gc_text_new_bytes.load(std::memory_order_relaxed);
  if (gc_stress || paced > gc_cycle_bytes) {
    FullCycle();
  } else {
    IncrementalStep();
  }
}

void gc_init1() {
  for (gc_object* list : {&gc_free_list, &gc_marked_list, &gc_unmarked_list, &gc_queued_list}) {
    MakeEmpty(list);
  }
  gc_new_bytes = gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = 0;
  gc_ext_new_bytes.store(0);
  gc_text_new_bytes.store(0);
}

void gc_release_all() {
  for (gc_object* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
    Splice(list, &gc_free_list);
  }
  gc_free_bytes += gc_alloced_bytes;
  while (gc_free_list.next != &gc_free_list) DestroyFirstGarbage();
  gc_init1();
}
