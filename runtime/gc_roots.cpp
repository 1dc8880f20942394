// runtime/gc_roots.cpp: the collector's roots, the module globals that hold objects.
#include <cstdlib>

#include "runtime/gc.h"

namespace {

struct Root {
  const void* slot;
  gc_root_reader read;
  bool immediate;
};
// Plain zero-initialised storage: registration may happen before any static constructor.
Root* roots = nullptr;
int root_count = 0;
int root_capacity = 0;

}  // namespace

void gc_add_root(const void* slot, gc_root_reader read, bool immediate) {
  if (!slot || !read) return;
  if (root_count == root_capacity) {
    root_capacity = root_capacity * 2 + 16;
    roots = static_cast<Root*>(realloc(roots, sizeof(Root) * root_capacity));
  }
  roots[root_count++] = Root{slot, read, immediate};
}

void gc_add_root(gc_object** slot, bool immediate) {
  gc_add_root(
      slot, [](const void* s) { return *static_cast<gc_object* const*>(s); }, immediate);
}

void gc_clear_roots() { root_count = 0; }

void gc_mark() {
  for (int i = 0; i < root_count; ++i) {
    gc_object* object = roots[i].read(roots[i].slot);
    if (roots[i].immediate) {
      gc_mark(object);
    } else {
      gc_push_grey(object);
    }
  }
}

void gc_init2() { gc_mark(); }

int gc_white_root() {
  for (int i = 0; i < root_count; ++i) {
    gc_object* object = roots[i].read(roots[i].slot);
    if (object && gc_is_white(object)) return i;
  }
  return -1;
}
