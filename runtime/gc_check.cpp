// runtime/gc_check.cpp: a debug walk over the collector's lists and counters.
#include <cstdio>
#include <cstdlib>

#include "runtime/gc.h"

namespace {

struct NamedList {
  gc_object* list;
  const char* name;
};

template <class... Args>
String Fault(const char* format, Args... args) {
  char text[200];
  snprintf(text, sizeof text, format, args...);
  return String(text);
}

// Walks one list: links both ways, colours, and the byte total. `colour` is
// the colour every member must have, or -1 for any.
String WalkList(const NamedList& named, int colour, long long step_limit, long long* bytes) {
  *bytes = 0;
  gc_object* p = named.list;
  for (long long steps = 0;; ++steps) {
    if (steps > step_limit) return Fault("list %s does not return to its sentinel", named.name);
    if (!p->next || p->next->prev != p)
      return Fault("%p: broken link in list %s", static_cast<void*>(p), named.name);
    p = p->next;
    if (p == named.list) return String();
    int size = gc_size_of(p);
    if (size <= 0)
      return Fault("%p: object of size %d in list %s", static_cast<void*>(p), size, named.name);
    if ((p->flags & 3) == 3)
      return Fault("%p: permanent object in list %s", static_cast<void*>(p), named.name);
    if (colour >= 0 && (p->flags & 3) != colour) {
      return Fault("%p: colour %d in list %s of colour %d", static_cast<void*>(p), p->flags & 3,
                   named.name, colour);
    }
    *bytes += size;
  }
}

// Replays the mark() of every black object with colouring switched off.
String FindBlackToWhite() {
  String fault;
  gc_checking = true;
  for (gc_object* p = gc_marked_list.next; p != &gc_marked_list; p = p->next) {
    gc_check_white = nullptr;
    p->mark();
    if (gc_check_white) {
      fault = Fault("%p: black object points at white object %p", static_cast<void*>(p),
                    static_cast<void*>(gc_check_white));
      break;
    }
  }
  gc_checking = false;
  gc_check_white = nullptr;
  return fault;
}

}  // namespace

String gc_check_heap() {
  const int white = gc_markbit, dark = gc_markbit ^ 1;
  // Each list, the colour its members must have (-1: any), and its byte total.
  struct {
    NamedList named;
    int colour;
    long long bytes;
  } lists[] = {{{&gc_unmarked_list, "unmarked"}, white, 0},
               {{&gc_queued_list, "queued"}, dark, 0},
               {{&gc_marked_list, "marked"}, dark, 0},
               {{&gc_free_list, "free"}, -1, 0}};
  // Every object takes at least 8 bytes, so a list walk longer than this loops.
  long long limit = (llabs(gc_alloced_bytes) + llabs(gc_free_bytes)) / 8 + 16;
  for (auto& list : lists) {
    String fault = WalkList(list.named, list.colour, limit, &list.bytes);
    if (!fault.IsEmpty()) return fault;
  }
  long long live = lists[0].bytes + lists[1].bytes + lists[2].bytes;
  if (live != gc_alloced_bytes) {
    return Fault("lists hold %lld live bytes, gc_alloced_bytes is %d", live, gc_alloced_bytes);
  }
  if (lists[2].bytes != gc_marked_bytes) {
    return Fault("marked list holds %lld bytes, gc_marked_bytes is %d", lists[2].bytes,
                 gc_marked_bytes);
  }
  if (lists[3].bytes != gc_free_bytes) {
    return Fault("free list holds %lld bytes, gc_free_bytes is %d", lists[3].bytes, gc_free_bytes);
  }
  int root = gc_white_root();
  if (root >= 0) return Fault("root %d holds a white object", root);
  return FindBlackToWhite();
}
