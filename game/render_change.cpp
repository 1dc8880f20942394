// game/render_change.cpp: what part of the window a new frame changes. The
// display list is compared, record by record, with the one drawn last; the
// changed records, as they were and as they are, cover every pixel that can
// differ, so redrawing the whole list clipped to their box gives the pixels
// a full redraw gives.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/app.h"
#include "game/replay_fit.h"

namespace {

// Pixels of slack around a box: the half-pixel offset of lines and points and
// the rounding of edges.
constexpr float kMargin = 2;

// A box growing over the window points the replay draws records at.
struct WindowPlacement : ReplayFit {
  explicit WindowPlacement(const ReplayFit& fit) : ReplayFit(fit) {}

  float box[4] = {INFINITY, INFINITY, -INFINITY, -INFINITY};

  void Add(float x, float y) {
    box[0] = std::min(box[0], x);
    box[1] = std::min(box[1], y);
    box[2] = std::max(box[2], x);
    box[3] = std::max(box[3], y);
  }
  // The frame of an image record: its corners about the handle, scaled and
  // turned as the drawing module's DrawImage2 does.
  void AddImage(const c_Image* image, float units, const float* rec) {
    const float sx = units * scaleX * rec[4];
    const float sy = units * scaleY * rec[5];
    const double angle = rec[3] * 0.017453292;
    const float c = static_cast<float>(std::cos(angle));
    const float s = static_cast<float>(std::sin(angle));
    for (int corner = 0; corner < 4; ++corner) {
      const float u = ((corner & 1) * image->m_Width - image->m_HandleX) * sx;
      const float v = ((corner >> 1) * image->m_Height - image->m_HandleY) * sy;
      Add(X(rec[1]) + u * c + v * s, Y(rec[2]) - u * s + v * c);
    }
  }
  void AddRecord(const c_MyApp* app, const float* rec) {
    const float kind = rec[0];
    if (kind >= 0 && kind <= 99) {
      const int slot = static_cast<int>(kind);
      if (const c_Image* image = app->m_Images[slot]) AddImage(image, app->m_ImageScale[slot], rec);
    } else if (kind == kRecordRect) {
      Add(X(rec[1]), Y(rec[2]));
      Add(X(rec[1]) + scaleX * rec[4], Y(rec[2]) + scaleY * rec[5]);
    } else if (kind == kRecordOval) {
      const float rx = std::fabs(scaleX * rec[4]);
      const float ry = std::fabs(scaleY * rec[5]);
      Add(X(rec[1]) - rx, Y(rec[2]) - ry);
      Add(X(rec[1]) + rx, Y(rec[2]) + ry);
    } else if (kind == kRecordLine) {
      Add(X(rec[1]), Y(rec[2]));
      Add(X(rec[4]), Y(rec[5]));
    } else if (kind == kRecordTri) {
      for (int i = 0; i < 3; ++i) Add(X(rec[1 + 2 * i]), Y(rec[2 + 2 * i]));
    }
  }
};

// A box edge as a window pixel column or row, limited to 0..limit.
int Edge(float v, int limit) { return static_cast<int>(std::clamp(v, 0.0f, static_cast<float>(limit))); }

bool SameRecord(const float* a, const float* b) {
  return memcmp(a, b, kRecordFloats * sizeof(float)) == 0;
}

}  // namespace

int c_MyApp::p_FrameChange(int devWidth, int devHeight, int* area) {
  const float key[] = {static_cast<float>(devWidth), static_cast<float>(devHeight),
                       rk_Game_overscan, m_ScaleX, m_ScaleY, m_HdScale, m_ClearRed, m_ClearGreen,
                       m_ClearBlue, m_ClearAlpha, static_cast<float>(m_ImageChanges)};
  constexpr size_t kKeyFloats = sizeof key / sizeof key[0];
  const int newLen = m_DrawLen > 14 ? m_DrawLen : 0;
  const float* list = m_DrawList.Data();
  const bool sameKey = m_DrawnFrame.size() >= kKeyFloats &&
                       memcmp(m_DrawnFrame.data(), key, sizeof key) == 0;
  const int oldLen = sameKey ? static_cast<int>(m_DrawnFrame.size() - kKeyFloats) : 0;
  // Only a frame with the same key has records to compare (an empty one has no data at all).
  const float* old = sameKey ? m_DrawnFrame.data() + kKeyFloats : list;

  // A translucent clear blends over the frame before, so each such frame is new.
  int change = kChangeWhole;
  bool same = false;
  if (sameKey && m_ClearAlpha == 1 && newLen % kRecordFloats == 0) {
    WindowPlacement place(
        ReplayFitOf(*this, static_cast<float>(devWidth), static_cast<float>(devHeight)));
    const int oldCount = oldLen / kRecordFloats;
    const int newCount = newLen / kRecordFloats;
    int first = 0;
    while (first < oldCount && first < newCount &&
           SameRecord(old + first * kRecordFloats, list + first * kRecordFloats)) {
      ++first;
    }
    int tail = 0;  // equal records at the end of both lists
    while (tail < oldCount - first && tail < newCount - first &&
           SameRecord(old + (oldCount - 1 - tail) * kRecordFloats,
                      list + (newCount - 1 - tail) * kRecordFloats)) {
      ++tail;
    }
    // Records between the two equal runs: the ones equal at the same place
    // are drawn in the same order in both frames and change nothing.
    const int oldEnd = oldCount - tail;
    const int newEnd = newCount - tail;
    for (int i = first; i < std::max(oldEnd, newEnd); ++i) {
      const float* was = i < oldEnd ? old + i * kRecordFloats : nullptr;
      const float* now = i < newEnd ? list + i * kRecordFloats : nullptr;
      if (was && now && SameRecord(was, now)) continue;
      if (was) place.AddRecord(this, was);
      if (now) place.AddRecord(this, now);
    }
    const float* box = place.box;
    same = oldLen == newLen && first == newCount;
    if (same || box[0] > box[2]) {
      change = kChangeNone;  // nothing changed, or only records that draw nothing
    } else if (std::isfinite(box[0] + box[1] + box[2] + box[3])) {
      area[0] = Edge(std::floor(box[0] - kMargin), devWidth);
      area[1] = Edge(std::floor(box[1] - kMargin), devHeight);
      area[2] = Edge(std::ceil(box[2] + kMargin), devWidth);
      area[3] = Edge(std::ceil(box[3] + kMargin), devHeight);
      const bool whole = area[0] == 0 && area[1] == 0 && area[2] == devWidth &&
                         area[3] == devHeight;
      const bool outside = area[0] >= area[2] || area[1] >= area[3];
      change = whole ? kChangeWhole : (outside ? kChangeNone : kChangePart);
    }
  }
  if (!same) {
    m_DrawnFrame.assign(key, key + kKeyFloats);
    m_DrawnFrame.insert(m_DrawnFrame.end(), list, list + newLen);
  }
  return change;
}

void c_MyApp::p_NoteChange(int change, const int* area) {
  for (int i = kChangeHistory - 1; i > 0; --i) {
    std::copy(m_RecentChanges[i - 1], m_RecentChanges[i - 1] + 5, m_RecentChanges[i]);
  }
  int* entry = m_RecentChanges[0];
  entry[0] = change;
  std::copy(area, area + 4, entry + 1);
  m_RecentCount = std::min(m_RecentCount + 1, kChangeHistory);
}

int c_MyApp::p_RedrawArea(int age, int devWidth, int devHeight, int* area) const {
  area[0] = 0, area[1] = 0, area[2] = devWidth, area[3] = devHeight;
  if (age <= 0 || age > m_RecentCount) return kChangeWhole;
  int box[4] = {devWidth, devHeight, 0, 0};
  for (int i = 0; i < age; ++i) {
    const int* entry = m_RecentChanges[i];
    if (entry[0] == kChangeWhole) return kChangeWhole;
    if (entry[0] == kChangeNone) continue;
    box[0] = std::min(box[0], entry[1]);
    box[1] = std::min(box[1], entry[2]);
    box[2] = std::max(box[2], entry[3]);
    box[3] = std::max(box[3], entry[4]);
  }
  if (box[0] >= box[2] || box[1] >= box[3]) return kChangeNone;
  std::copy(box, box + 4, area);
  return kChangePart;
}
