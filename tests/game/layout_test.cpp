// Every screen at every window shape: each element that should show is drawn,
// lies wholly inside the virtual screen, and keeps clear of the elements it
// must not cover (or inside the one that frames it). Element boxes come from
// the display list: each record carries its element's tag.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/badges.h"
#include "tests/game/harness.h"

namespace {

struct Box {
  float x0, y0, x1, y1;
};
// An image frame's inked part around its handle, and the farthest inked pixel.
struct Ink {
  Box box;
  float radius;
};

// The inked part of an image frame, in pixels from its handle: frames carry
// transparent margins that cover nothing.
Ink InkOf(GameHarness& h, c_Image* image, int frame) {
  static std::map<std::string, Ink> known;
  const std::string key =
      std::string(String::CString<char>(image->m_Surface->path)) + "#" + std::to_string(frame);
  auto found = known.find(key);
  if (found != known.end()) return found->second;
  Box box{-image->m_HandleX, -image->m_HandleY, image->m_Width - image->m_HandleX,
          image->m_Height - image->m_HandleY};
  float radius = std::hypot(std::max(-box.x0, box.x1), std::max(-box.y0, box.y1));
  int width = 0, height = 0, depth = 0;
  unsigned char* pixels = h.host.LoadImageData(image->m_Surface->path, &width, &height, &depth);
  if (pixels && depth == 4 && frame >= 0 && frame < image->m_Frames.Length()) {
    const c_Frame* at = image->m_Frames[frame];
    box = {1e9f, 1e9f, -1e9f, -1e9f};
    radius = 0;
    for (int y = 0; y < image->m_Height; ++y) {
      for (int x = 0; x < image->m_Width; ++x) {
        if (pixels[4 * ((at->m_Y + y) * width + at->m_X + x) + 3] < 26) continue;
        const float left = x - image->m_HandleX, top = y - image->m_HandleY;
        box = {std::min(box.x0, left), std::min(box.y0, top), std::max(box.x1, left + 1),
               std::max(box.y1, top + 1)};
        radius = std::max(radius, std::hypot(std::max(-left, left + 1), std::max(-top, top + 1)));
      }
    }
    if (box.x0 > box.x1) box = {0, 0, 0, 0};
  }
  free(pixels);
  return known[key] = Ink{box, radius};
}

// The area a record covers in virtual units; false for an invisible record.
bool RecordBox(GameHarness& h, const DrawRecord& r, Box* box) {
  const c_MyApp& app = *h.app;
  const float* f = r.f;
  if (f[7] <= 0.01f) return false;
  if (r.kind() >= 0) {
    c_Image* image = app.m_Images[static_cast<int>(r.kind())];
    if (!image) return false;
    const Ink ink = InkOf(h, image, static_cast<int>(f[6]));
    const float units = app.m_ImageScale[static_cast<int>(r.kind())];
    const float sx = std::fabs(units * f[4]), sy = std::fabs(units * f[5]);
    if (f[3] != 0) {
      // Turned: whatever the angle, the ink stays within its circle.
      const float r = ink.radius * std::max(sx, sy);
      *box = {f[1] - r, f[2] - r, f[1] + r, f[2] + r};
    } else {
      *box = {f[1] + sx * ink.box.x0, f[2] + sy * ink.box.y0, f[1] + sx * ink.box.x1,
              f[2] + sy * ink.box.y1};
    }
  } else if (r.kind() == kRecordRect) {
    *box = {std::min(f[1], f[1] + f[4]), std::min(f[2], f[2] + f[5]),
            std::max(f[1], f[1] + f[4]), std::max(f[2], f[2] + f[5])};
  } else if (r.kind() == kRecordOval) {
    *box = {f[1] - f[4], f[2] - f[5], f[1] + f[4], f[2] + f[5]};
  } else {
    const int points = r.kind() == kRecordTri ? 3 : 2;
    const float xs[3] = {f[1], r.kind() == kRecordTri ? f[3] : f[4], f[5]};
    const float ys[3] = {f[2], r.kind() == kRecordTri ? f[4] : f[5], f[6]};
    *box = {*std::min_element(xs, xs + points), *std::min_element(ys, ys + points),
            *std::max_element(xs, xs + points), *std::max_element(ys, ys + points)};
  }
  return true;
}

// Boxes that share more than a hairline.
bool Overlap(const Box& a, const Box& b) {
  return std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 1 &&
         std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > 1;
}
bool Within(const Box& inner, const Box& outer) {
  return inner.x0 >= outer.x0 - 0.5f && inner.y0 >= outer.y0 - 0.5f &&
         inner.x1 <= outer.x1 + 0.5f && inner.y1 <= outer.y1 + 0.5f;
}

const std::map<int, const char*> kNames = {
    {kTagLoading, "loading"},     {kTagLogo, "logo"},          {kTagMedal, "medal"},
    {kTagDial, "dial"},           {kTagDescription, "description"},
    {kTagPlayButton, "play"},     {kTagScoreLists, "lists"},   {kTagCredits, "credits"},
    {kTagDiscs, "discs"},         {kTagStats, "stats"},        {kTagCodedIn, "coded-in"},
    {kTagOptions, "options"},     {kTagGallery, "gallery"},    {kTagDice, "dice"},
    {kTagCard, "card"},           {kTagCalculator, "calculator"},
    {kTagCalcDisplay, "display"}, {kTagCalcValue, "value"},    {kTagScoreLine, "score line"},
    {kTagPauseButton, "pause button"}, {kTagPauseMenu, "pause buttons"},
    {kTagPaused, "paused"},       {kTagGameOver, "game over"}, {kTagRankBar, "rank bar"},
    {kTagRank, "rank"},           {kTagPrompt, "prompt"},      {kTagBanner, "banners"},
};

// A game at rest whose expression holds `dice` dice of 6 multiplied together.
void Game(GameHarness& h, int dice) {
  h.app->m_MenuSel = 2;
  h.app->m_Screen = 11;
  h.Update(100);
  for (int e = 1; e <= 2 * dice; ++e) h.app->m_Turn[kTurnEntry + e] = e % 2 == 1 ? 6 : 3;
  h.app->m_Turn[kTurnCount] = static_cast<float>(2 * dice + 1);
  h.Update();
}

// Three badges, their banners queued (the widest of the game's texts among them).
void AwardThree(GameHarness& h) {
  for (int id : {kBadgeFullHouse, kBadgeConsolation, kBadgeColumnCleared}) h.app->p_AwardBadge(id);
}

// Full score lists, the widest they get.
void FillScores(GameHarness& h) {
  for (int k = 0; k < 60; ++k) h.app->m_HiScores[k] = 99999 - k;
}

// Sets one of the game's fields, then lets what it opens arrive.
std::function<void(GameHarness&)> Opened(int c_MyApp::*flag, int value = 1, int updates = 40) {
  return [=](GameHarness& h) {
    h.app->*flag = value;
    h.Update(updates);
  };
}

struct Screen {
  const char* name;
  // Run on a game that has finished loading; none: the loading screen itself.
  std::function<void(GameHarness&)> show;
  std::vector<int> tags;
};
const Screen kScreens[] = {
    {"loading", nullptr, {kTagLoading}},
    {"menu",
     [](GameHarness& h) {
       FillScores(h);
       AwardThree(h);
       h.Update(40);
     },
     {kTagLogo, kTagMedal, kTagDial, kTagDescription, kTagPlayButton, kTagScoreLists, kTagBanner}},
    {"side panel",
     [](GameHarness& h) {
       FillScores(h);
       h.app->m_SidePanelOpen = 1;
       h.Update(90);
     },
     {kTagCredits, kTagDiscs, kTagStats, kTagCodedIn, kTagScoreLists}},
    {"options", Opened(&c_MyApp::m_OptionsOpen), {kTagOptions}},
    {"gallery", Opened(&c_MyApp::m_GalleryOpen), {kTagGallery}},
    {"game, three digits and banners",
     [](GameHarness& h) {
       for (int id : {kBadgeFirstNumber, kBadgeNumberOne, kBadgeNineties}) h.app->p_AwardBadge(id);
       Game(h, 3);
     },
     {kTagDice, kTagCard, kTagCalculator, kTagCalcDisplay, kTagCalcValue, kTagScoreLine,
      kTagPauseButton, kTagBanner}},
    {"game, four digits", [](GameHarness& h) { Game(h, 4); }, {kTagCalcValue}},
    {"pause",
     [](GameHarness& h) {
       Game(h, 3);
       AwardThree(h);
       h.app->m_Paused = h.app->m_PauseState = 1;
       h.Update(40);
     },
     {kTagPauseMenu, kTagPaused}},
    {"game over",
     [](GameHarness& h) {
       Game(h, 3);
       h.app->m_Score = 12345;
       AwardThree(h);
       h.app->m_GameOver = 1;
       h.Update(40);
     },
     {kTagGameOver, kTagRankBar, kTagRank}},
    {"quit prompt", Opened(&c_MyApp::m_Screen, 4, 2), {kTagPrompt}},
};

struct Pair {
  int a, b;
  bool inside;  // a within b, else a clear of b
};
const Pair kPairs[] = {
    {kTagDice, kTagCard, false},          {kTagCard, kTagCalculator, false},
    {kTagDice, kTagCalculator, false},    {kTagScoreLists, kTagPlayButton, false},
    {kTagCredits, kTagDiscs, false},      {kTagCredits, kTagScoreLists, false},
    {kTagCredits, kTagStats, false},      {kTagCredits, kTagCodedIn, false},
    {kTagBanner, kTagCard, false},        {kTagBanner, kTagDice, false},
    {kTagBanner, kTagDial, false},        {kTagBanner, kTagDescription, false},
    {kTagBanner, kTagLogo, false},        {kTagBanner, kTagMedal, false},
    {kTagBanner, kTagPlayButton, false},  {kTagBanner, kTagScoreLists, false},
    {kTagBanner, kTagPauseMenu, false},   {kTagBanner, kTagPaused, false},
    {kTagBanner, kTagGameOver, false},    {kTagBanner, kTagRankBar, false},
    {kTagBanner, kTagCalculator, false},  {kTagBanner, kTagScoreLine, false},
    {kTagDial, kTagLogo, false},          {kTagMedal, kTagLogo, false},
    {kTagMedal, kTagDial, false},         {kTagDescription, kTagDial, false},
    {kTagDescription, kTagPlayButton, false}, {kTagPauseMenu, kTagPaused, false},
    {kTagCalcValue, kTagCalcDisplay, true}, {kTagRank, kTagRankBar, true},
};

struct WindowShape {
  int width, height;
};
const WindowShape kShapes[] = {{640, 480},  {800, 600},   {1280, 1024}, {1280, 720}, {1920, 1080},
                               {2560, 1080}, {480, 900},  {600, 1000},  {1080, 1920},
                               {390, 844},  {844, 390}};
// A phone held either way, in CSS pixels: the window's pixels here.
bool PhoneShape(const WindowShape& shape) {
  return std::min(shape.width, shape.height) == 390;
}

// On a phone every text stands at least 11 pixels tall (its font cell) and
// every hit area is at least 44 pixels on its short side.
void ExpectFingerSizes(GameHarness& h, const std::string& where) {
  const float pixels = h.app->m_ScaleY;
  const int font = h.app->m_FontSlot;
  std::map<int, float> smallest;
  for (const DrawRecord& r : h.Records()) {
    if (r.kind() != font || r.f[7] < 0.3f) continue;
    const int tag = static_cast<int>(r.f[kRecordFloats - 1]);
    const float tall = 16 * r.f[5] * pixels;
    if (!smallest.count(tag) || tall < smallest[tag]) smallest[tag] = tall;
  }
  for (const auto& [tag, tall] : smallest) {
    EXPECT_GE(tall, 11) << where << "text of " << (tag ? kNames.at(tag) : "the background");
  }
  for (const HitArea& a : h.app->m_HitAreas) {
    EXPECT_GE(std::min(a.x1 - a.x0, a.y1 - a.y0) * pixels, 44)
        << where << "hit area " << a.x0 << "," << a.y0 << " .. " << a.x1 << "," << a.y1;
  }
}

using Boxes = std::map<int, std::vector<Box>>;

// Every tagged record's box by its tag; a tag crossing the screen's edge fails once.
Boxes TaggedBoxes(GameHarness& h, const std::string& where) {
  const Box edges{0, 0, rk_Game_jscrw, rk_Game_jscrh};
  Boxes boxes;
  std::map<int, int> crossing;
  for (const DrawRecord& record : h.Records()) {
    const int tag = static_cast<int>(record.f[kRecordFloats - 1]);
    Box box;
    if (tag == kTagNone || !RecordBox(h, record, &box)) continue;
    boxes[tag].push_back(box);
    if (!Within(box, edges) && crossing[tag]++ == 0) {
      ADD_FAILURE() << where << kNames.at(tag) << " crosses the edge at " << box.x0 << ","
                    << box.y0 << " .. " << box.x1 << "," << box.y1;
    }
  }
  return boxes;
}

// How many of a's boxes lie outside b's whole extent, or over one of b's boxes.
int PairFaults(const Boxes& boxes, const Pair& pair) {
  const std::vector<Box>& as = boxes.at(pair.a);
  const std::vector<Box>& bs = boxes.at(pair.b);
  Box frame = bs[0];
  for (const Box& b : bs) {
    frame = {std::min(frame.x0, b.x0), std::min(frame.y0, b.y0), std::max(frame.x1, b.x1),
             std::max(frame.y1, b.y1)};
  }
  int faults = 0;
  for (const Box& a : as) {
    if (pair.inside) {
      faults += !Within(a, frame);
    } else {
      for (const Box& b : bs) faults += Overlap(a, b);
    }
  }
  return faults;
}

TEST(Layout, EveryScreenFitsAndKeepsItsElementsApartAtEveryWindowShape) {
  for (const WindowShape& shape : kShapes) {
    for (const Screen& screen : kScreens) {
      GameHarness h(shape.width, shape.height);
      if (screen.show) {
        h.FinishLoading();
        screen.show(h);
      } else {
        h.Update(3);
      }
      const std::string where = std::string(screen.name) + " at " + std::to_string(shape.width) +
                                "x" + std::to_string(shape.height) + ": ";
      const Boxes boxes = TaggedBoxes(h, where);
      if (PhoneShape(shape)) ExpectFingerSizes(h, where);
      for (int tag : screen.tags) EXPECT_TRUE(boxes.count(tag)) << where << kNames.at(tag) << " missing";
      for (const Pair& pair : kPairs) {
        if (!boxes.count(pair.a) || !boxes.count(pair.b)) continue;
        EXPECT_EQ(PairFaults(boxes, pair), 0)
            << where << kNames.at(pair.a) << (pair.inside ? " outside " : " over ")
            << kNames.at(pair.b);
      }
      // However tall the screen, the dice, the card and the calculator keep together.
      float top = 1e9f, bottom = -1e9f;
      for (int tag : {kTagDice, kTagCard, kTagCalculator}) {
        auto found = boxes.find(tag);
        if (found == boxes.end()) continue;
        for (const Box& b : found->second) top = std::min(top, b.y0), bottom = std::max(bottom, b.y1);
      }
      // A tall screen stacks them to use its height.
      if (top > bottom) continue;
      if (h.app->m_Layout == kLayoutTall) {
        EXPECT_GE(bottom - top, 0.75f * rk_Game_jscrh) << where << "the play uses " << top << " to " << bottom;
      } else {
        EXPECT_LE(bottom - top, 480) << where << "the play spreads from " << top << " to " << bottom;
      }
    }
  }
}

}  // namespace
