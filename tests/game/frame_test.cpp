// The game's frame: loading at the right detail level, the fit of the
// virtual screen, the replay of the display list, hot keys and the ways out.
#include <gmock/gmock.h>

#include <climits>

#include "net/async_event_source.h"
#include "runtime/startup.h"
#include "tests/game/harness.h"

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF2 = 113;
constexpr int kKeyF4 = 115;
constexpr int kKeyEnter = 13;

void Tap(GameHarness& h, int code) {
  h.KeyDown(code);
  h.Update();
  h.KeyUp(code);
}

TEST(Loading, TakesSeventeenUpdatesAndPicksTheDetailLevelOfTheWindow) {
  struct Case {
    int width, height, useHd, level;
  };
  // The level follows the fit: the window length the design width spans.
  for (const Case& c : {Case{1920, 1080, 1, 4}, Case{1280, 720, 1, 2}, Case{640, 480, 1, 2},
                        Case{1920, 1080, 0, 1}, Case{600, 400, 1, 1}, Case{480, 900, 1, 1}}) {
    GameHarness h(c.width, c.height, [&] { rk_Game_UseHDImages = c.useHd; });
    EXPECT_EQ(h.app->m_LoadStep, 1);
    EXPECT_EQ(h.FinishLoading(), 17);
    EXPECT_EQ(h.app->m_HdLevel, c.level) << c.width;
    // The files differ in size by level: the dice sheet is 256 pixels wide at level 1.
    ASSERT_NE(h.app->m_Images[1], nullptr) << c.width;
    EXPECT_EQ(h.app->m_Images[1]->m_Surface->width, 256 * c.level);
    EXPECT_EQ(h.app->m_ImageInfo[90 * 3], 7);
    EXPECT_EQ(h.app->m_Images[90]->m_Surface->width, 256 * c.level);
    EXPECT_EQ(h.app->m_Images[81]->m_Surface->data, nullptr) << "blank image stays unwritten";
    std::vector<std::string> sounds = h.audio->loaded;
    EXPECT_EQ(sounds.size(), 10u);
    EXPECT_THAT(sounds, ::testing::Contains("zorvex://data/sfx/096.wav"));
  }
}

int LiveTextures(const GlRecorder& gl) {
  int live = 0;
  for (const auto& texture : gl.textures) live += !texture.second.deleted;
  return live;
}

TEST(Loading, PicturesComeOneAtATimeAndKeepNoPixelCopy) {
  // Each picture one texture, so that textures count pictures.
  struct WholeTextures {
    long cut = gxtkSurface::cutBytes;
    WholeTextures() { gxtkSurface::cutBytes = LONG_MAX; }
    ~WholeTextures() { gxtkSurface::cutBytes = cut; }
  } whole;
  GameHarness h;
  h.FinishLoading();
  for (int slot = 0; slot < 100; ++slot) {
    const c_Image* image = h.app->m_Images[slot];
    if (!image) continue;
    EXPECT_EQ(image->m_Surface->data, nullptr) << "slot " << slot << ": the file gives it again";
    // A picture takes its texture when first drawn: here every one is, as in
    // a session that has been on every screen.
    image->m_Surface->Prepare();
  }
  const int live = LiveTextures(h.gl);
  // A reload frees each slot's old picture as soon as the new one is in (the
  // harness runs no collector, which would free them only later).
  h.Resize(1920, 1080);
  h.Render();
  int most = live;
  while (h.app->m_LoadStep != 0) {
    h.Update();
    h.Render();
    most = std::max(most, LiveTextures(h.gl));
  }
  EXPECT_LE(most, live + 1);
  EXPECT_LT(LiveTextures(h.gl), live) << "only the pictures drawn since have textures";
}

TEST(Loading, TheLoadingScreenShowsSpinnerLogoAndText) {
  GameHarness h;
  h.Update(3);
  EXPECT_EQ(h.RecordsOf(kRecordOval).size(), 33u);
  EXPECT_EQ(h.RecordsOf(93).size(), 1u);
  EXPECT_EQ(h.DrawnText(), "Loading...");
  EXPECT_EQ(h.app->m_ClearAlpha, 1);
}

TEST(Loading, AResizeRestartsItAndTheLogoSoundPlaysOnce) {
  GameHarness h;
  h.Update(6);
  EXPECT_EQ(h.audio->Only("play").size(), 1u);
  h.Resize(1280, 720);
  h.Render();
  EXPECT_EQ(h.app->m_LoadStep, 1);
  EXPECT_EQ(h.FinishLoading(), 17);
  EXPECT_EQ(h.app->m_HdLevel, 2);
  EXPECT_EQ(h.audio->Only("play").size(), 1u);
  // After loading the screens run instead of the loader.
  h.app->m_Screen = 4;
  h.Update();
  EXPECT_EQ(h.app->m_LoadStep, 0);
  // Spaces advance the pen but draw no glyph.
  EXPECT_THAT(h.DrawnText(), ::testing::HasSubstr("UnexpectedQuit"));
}

// A window that needs another level (a phone turned, a window enlarged)
// shows no loading screen: the screens draw on with the pictures at hand,
// scaled, and each is swapped once its file can be read.
TEST(Loading, AnotherLevelSwapsPicturesBehindTheScreensAsTheirFilesArrive) {
  GameHarness h;
  h.FinishLoading();
  const float dieHalf = h.app->p_HalfFrame(kImageDice, 0);
  h.host.notYetThere = "-hd2";
  h.Resize(1920, 1080);
  h.Render();
  EXPECT_EQ(h.app->m_LoadStep, 1);
  for (int update = 0; update < 20; ++update) {
    h.Update();
    h.Render();
    ASSERT_FALSE(h.RecordsOf(kImageButtons).empty()) << "the menu draws at update " << update;
    EXPECT_THAT(h.DrawnText(), ::testing::Not(::testing::HasSubstr("Loading")));
  }
  EXPECT_EQ(h.app->m_LoadStep, 0);
  EXPECT_EQ(h.app->m_ImageLevel[kImageDice], 2) << "the finer file is not there yet";
  EXPECT_EQ(h.app->p_HalfFrame(kImageDice, 0), dieHalf);

  // The page reports the arrival by a zero-size frame; then the files are read.
  h.host.notYetThere.clear();
  h.Resize(0, 0);
  h.Render();
  h.Resize(1920, 1080);
  h.Render();
  h.FinishLoading();
  EXPECT_EQ(h.app->m_ImageLevel[kImageDice], 4);
  EXPECT_EQ(h.app->m_Images[kImageDice]->m_Surface->width, 1024);
  EXPECT_EQ(h.app->p_HalfFrame(kImageDice, 0), dieHalf);
  // A window that keeps its level reloads nothing.
  h.Resize(1600, 1000);
  h.Render();
  EXPECT_EQ(h.app->m_LoadStep, 0);
}

// A page fetches what only a game uses once its menu shows: a game asked for
// before that is in waits on the menu, saying so, and starts by itself once
// the pictures and sounds that were missing are loaded.
TEST(Loading, AGameAskedForBeforeItsDataArrivesWaitsOnTheMenu) {
  GameHarness h;
  h.host.dataArriving = true;
  h.host.notYetThere = "dice";
  h.audio->loadsSucceed = false;
  h.FinishLoading();
  EXPECT_EQ(h.host.laterDataAsked, 1);
  EXPECT_EQ(h.app->m_Images[kImageDice], nullptr);
  h.Update(30);
  Tap(h, kKeyEnter);
  for (int update = 0; update < 30; ++update) {
    h.Update();
    h.Render();
    ASSERT_EQ(h.app->m_Screen, kScreenMenu);
    ASSERT_FALSE(h.RecordsOf(kImageButtons).empty()) << "the menu draws on at update " << update;
  }
  EXPECT_THAT(h.DrawnText(), ::testing::HasSubstr("Loading"));
  EXPECT_TRUE(h.audio->Only("music").empty());

  h.host.dataArriving = false;
  h.host.notYetThere.clear();
  h.audio->loadsSucceed = true;
  for (int update = 0; update < 20 && h.app->m_Screen == kScreenMenu; ++update) h.Update();
  EXPECT_EQ(h.app->m_Screen, 10);
  ASSERT_NE(h.app->m_Images[kImageDice], nullptr);
  EXPECT_EQ(h.audio->loaded.size(), 20u) << "every sound loaded again";
  EXPECT_FALSE(h.audio->Only("music zorvex://data/sfx/fish.ogg").empty());
  EXPECT_EQ(h.host.laterDataAsked, 1);
}

// The menu and a game share few pictures: each holds textures only for its own.
TEST(Screens, TheMenuAndAGameHoldTexturesOnlyForTheirOwnPictures) {
  GameHarness h(1280, 960);
  h.FinishLoading();
  h.Update();
  h.Render();
  const gxtkSurface* logo = h.app->m_Images[98]->m_Surface;
  const gxtkSurface* dial = h.app->m_Images[85]->m_Surface;
  EXPECT_EQ(dial->Textures(), 2) << "the two frames of the dial's sheet the menu shows";
  h.app->m_Screen = 11;
  h.Update(3);
  h.Render();
  ASSERT_EQ(h.app->m_Screen, 10);
  EXPECT_EQ(logo->Textures() + dial->Textures(), 0) << "the menu's pictures are let go";
  EXPECT_GT(h.app->m_Images[kImageDice]->m_Surface->Textures(), 0);
  h.app->m_Screen = 2;
  h.Update(3);
  h.Render();
  EXPECT_EQ(h.app->m_Images[kImageDice]->m_Surface->Textures(), 0);
  EXPECT_EQ(logo->Textures() + dial->Textures(), 3) << "the menu's made again";
}

// A file replaced under a running game (a package upgrade) is found when its
// picture is first drawn: it is named, and its slot loaded afresh, or left
// empty when the new picture cannot hold the frames; the game plays on.
TEST(Loading, APictureWhoseFileChangedIsLoadedAfreshOrLeftOut) {
  struct Case {
    const char* file;
    int slot, width, height;
    bool fits;
    const char* told;
  };
  for (const Case& c : {Case{"dice-hd.png", kImageDice, 2048, 128, true,
                             "dice-hd.png: it changed while the game ran (512x512 pixels, now 2048x128)"},
                        Case{"grid-hd.png", kImageGrid, 64, 64, false,
                             "grid-hd.png: it changed while the game ran (408x408 pixels, now 64x64)"}}) {
    GameHarness h;
    h.FinishLoading();
    h.host.replaced = c.file;
    h.host.replacedWidth = c.width;
    h.host.replacedHeight = c.height;
    h.app->m_MenuSel = 2;
    h.app->m_Screen = 11;
    testing::internal::CaptureStderr();
    h.Update(3);
    h.Render();
    h.Update();
    h.Render();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_THAT(said, ::testing::HasSubstr(c.told));
    const c_Image* image = h.app->m_Images[c.slot];
    if (c.fits) {
      ASSERT_NE(image, nullptr) << c.file;
      EXPECT_EQ(image->m_Surface->width, c.width);
      EXPECT_EQ(image->m_Frames.Length(), 16);
      EXPECT_FALSE(image->m_Surface->fileChanged);
    } else {
      EXPECT_EQ(image, nullptr) << c.file;
    }
    h.Update(60);
    h.Render();
    EXPECT_EQ(h.app->m_Screen, 10) << "the game plays on";
  }
}

TEST(Fit, ATallWindowKeepsTheDesignWidthAndGetsATallerScreen) {
  GameHarness h(600, 1000);
  EXPECT_EQ(h.app->m_FitMode, 1);
  EXPECT_NEAR(h.app->m_ScaleX, 0.9375f, 1e-5);
  EXPECT_EQ(h.app->m_ScaleY, h.app->m_ScaleX);
  EXPECT_NEAR(rk_Game_jscrw, 640, 1e-3);
  EXPECT_NEAR(rk_Game_jscrh, 1066.67f, 1e-2);
  EXPECT_EQ(h.app->m_Landscape, 0);
  EXPECT_EQ(h.app->m_HdLevel, 1);

  // The pointer maps back into virtual units.
  h.MouseMove(300, 500);
  h.Update();
  EXPECT_EQ(h.app->m_MouseX, 320);
  EXPECT_EQ(h.app->m_MouseY, 533);
}

TEST(Fit, AWideWindowKeepsTheDesignHeightAndAnOverscanMarginMovesTheOrigin) {
  GameHarness h(1920, 1080);
  EXPECT_EQ(h.app->m_FitMode, 2);
  EXPECT_EQ(h.app->m_ScaleY, 2.25f);
  EXPECT_NEAR(rk_Game_jscrw, 853.33f, 1e-2);
  EXPECT_NEAR(rk_Game_jscrh, 480, 1e-3);
  EXPECT_EQ(h.app->m_HdLevel, 4);
  rk_Game_overscan = 40;
  h.Resize(640, 480);
  h.Render();
  EXPECT_EQ(h.app->m_FitMode, 1);
  EXPECT_NEAR(h.app->m_ScaleX, 560.0f / 640, 1e-5);
  EXPECT_NEAR(rk_Game_jscrh, 480 / (640 / 640.0f), 1e-3);
  h.MouseMove(40, 30);
  h.Update();
  EXPECT_EQ(h.app->m_MouseX, 0);
  EXPECT_EQ(h.app->m_MouseY, 0);
  // A wide window's margin is as wide at the sides as at the top and bottom.
  h.Resize(1280, 480);
  h.Render();
  EXPECT_NEAR(h.app->m_ScaleY, 450.0f / 480, 1e-5);
  h.MouseMove(1240, 480 - 15);
  h.Update();
  EXPECT_NEAR(h.app->m_MouseX, rk_Game_jscrw, 1);
  EXPECT_NEAR(h.app->m_MouseY, 480, 1);
}

// Collects the GL draws of one render of the current display list.
std::vector<GlDraw> Replay(GameHarness& h) {
  h.gl.keepVertices = true;
  h.gl.Reset();
  h.Render();
  return h.gl.draws;
}

TEST(Replay, EachRecordKindBecomesItsRendererCall) {
  GameHarness h;
  h.FinishLoading();
  c_MyApp* app = h.app;
  app->p_CLS2D(kAbsent, 0, 0, 0);
  app->p_Rect(10, 20, 30, 40);
  app->p_Oval(100, 100, 10, 5);
  app->p_Line(0, 0, 50, 50);
  app->p_Tri(0, 0, 10, 0, 0, 10);
  app->p_DrawImg(1, 320, 240, 0);
  app->m_DrawBlend = 3;
  app->p_Rect(0, 0, 1, 1);
  app->p_DrawImg(-5, 0, 0, 0);
  std::vector<GlDraw> draws = Replay(h);
  // The opaque clearing rectangle becomes a clear; each record after the
  // first changes the primitive or the blend, so it starts a draw of its own.
  EXPECT_EQ(h.gl.Count("Clear"), 1);
  ASSERT_EQ(draws.size(), 6u);
  auto xs = [](const GlDraw& d) {
    std::vector<float> v;
    for (const RecordedVertex& p : d.vertices) v.push_back(p.x);
    return v;
  };
  EXPECT_TRUE(draws[0].indexed);
  EXPECT_THAT(xs(draws[0]), ::testing::ElementsAre(10, 40, 40, 10));
  EXPECT_EQ(draws[1].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
  for (float x : xs(draws[1])) EXPECT_TRUE(x >= 90 && x <= 110) << x;
  EXPECT_EQ(draws[2].mode, static_cast<GLenum>(GL_LINES));
  EXPECT_EQ(draws[3].mode, static_cast<GLenum>(GL_TRIANGLES));
  EXPECT_FALSE(draws[3].indexed);
  EXPECT_THAT(xs(draws[3]), ::testing::ElementsAre(0, 10, 0));
  EXPECT_TRUE(draws[4].textured);
  EXPECT_EQ(draws[4].blendDestination, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_EQ(draws[5].blendDestination, static_cast<GLenum>(GL_ONE));

  // Without an update in between, the same list is drawn again.
  EXPECT_EQ(Replay(h).size(), 6u);
}

TEST(Replay, AnUnchangedFrameIsLeftOnScreenAndAnyChangeIsDrawn) {
  GameHarness h;
  h.FinishLoading();
  h.Update(120);
  ASSERT_FALSE(Replay(h).empty());
  // The window lost its contents: the same frame is drawn again.
  EXPECT_FALSE(Replay(h).empty());
  h.host.frameOnScreen = true;
  EXPECT_TRUE(Replay(h).empty());
  h.Update();
  EXPECT_TRUE(Replay(h).empty()) << "the menu at rest repeats its frame";
  EXPECT_EQ(h.gl.Count("Clear"), 0);

  h.KeyDown(40);  // the dial turns
  h.Update();
  h.KeyUp(40);
  EXPECT_FALSE(Replay(h).empty());
  h.Update(200);
  Replay(h);
  h.app->m_ImageChanges++;
  EXPECT_FALSE(Replay(h).empty()) << "a reloaded picture";
  h.Resize(800, 600);
  EXPECT_FALSE(Replay(h).empty()) << "a new window size";
  // A translucent clear blends over the frame before: every frame is new.
  h.Update(200);
  Replay(h);
  h.app->m_ClearAlpha = 0.5f;
  EXPECT_FALSE(Replay(h).empty());
  EXPECT_FALSE(Replay(h).empty());
}

// Whether every draw is clipped to one box, smaller than the window, that
// holds all the vertices of the draws `changed` picks.
template <class Pick>
void ExpectDrawnInPartAround(const std::vector<GlDraw>& draws, Pick changed) {
  ASSERT_FALSE(draws.empty());
  int changedDraws = 0;
  for (const GlDraw& d : draws) {
    ASSERT_TRUE(d.scissored);
    const GLint* box = d.scissor;  // GL's: from the bottom left
    EXPECT_LT(box[2] * box[3], 640 * 480 / 4);
    if (!changed(d)) continue;
    ++changedDraws;
    for (const RecordedVertex& v : d.vertices) {
      EXPECT_GE(v.x, box[0]);
      EXPECT_LE(v.x, box[0] + box[2]);
      EXPECT_GE(480 - v.y, box[1]);
      EXPECT_LE(480 - v.y, box[1] + box[3]);
    }
  }
  EXPECT_GT(changedDraws, 0);
}

TEST(Replay, OverAKeptFrameOnlyTheChangedPartIsDrawn) {
  GameHarness h;
  h.gl.backBufferAge = 1;
  h.FinishLoading();
  c_MyApp* app = h.app;
  auto list = [&](float turn, bool extra) {
    app->p_CLS2D(kAbsent, 0, 0, 0);
    app->p_Rect(10, 20, 300, 200);
    app->m_DrawRot = turn;
    app->p_DrawImg(1, 320, 240, 0);
    app->m_DrawRot = 0;
    if (extra) app->p_Oval(330, 250, 8, 8);
    app->p_Line(0, 0, 640, 480);
  };
  list(0, false);
  EXPECT_FALSE(Replay(h)[0].scissored) << "the first frame is drawn whole";
  EXPECT_TRUE(Replay(h).empty()) << "the same frame is presented again as it is";
  const GLuint dice = app->m_Images[1]->m_Surface->texture;
  list(30, false);  // a turned picture
  ExpectDrawnInPartAround(Replay(h),
                          [&](const GlDraw& d) { return d.textured && d.texture == dice; });
  EXPECT_EQ(h.gl.Count("Clear"), 1);
  list(30, true);  // a record more, beside it
  ExpectDrawnInPartAround(Replay(h), [](const GlDraw& d) { return d.mode == GL_TRIANGLE_FAN; });
  list(0, true);
  Replay(h);
  // A freed picture draws nothing any more: where it stood is drawn again.
  app->p_FreeImg(1);
  list(0, true);
  const std::vector<GlDraw> afterFree = Replay(h);
  ASSERT_FALSE(afterFree.empty()) << "a freed picture";
  EXPECT_FALSE(afterFree[0].scissored);
  h.Resize(800, 600);
  EXPECT_FALSE(Replay(h)[0].scissored) << "a new window size";
}

// Over a back buffer some frames old (the driver's several buffers) the
// changes of all those frames are drawn again; an unknown age, the whole frame.
TEST(Replay, OverABackBufferSomeFramesOldTheChangesOfThoseFramesAreDrawn) {
  for (int age : {1, 2, 3, 0}) {
    GameHarness h;
    h.gl.backBufferAge = age;
    h.FinishLoading();
    c_MyApp* app = h.app;
    // Frame k moves the small square of row k (window rows 20, 120, 220).
    float xs[3] = {100, 100, 100};
    std::vector<GlDraw> draws;
    for (int moved = -1; moved < 3; ++moved) {
      if (moved >= 0) xs[moved] = 300;
      app->p_CLS2D(kAbsent, 0, 0, 0);
      for (int k = 0; k < 3; ++k) app->p_Rect(xs[k], 20 + 100.0f * k, 10, 10);
      draws = Replay(h);
    }
    ASSERT_FALSE(draws.empty()) << age;
    if (age == 0) {
      EXPECT_FALSE(draws[0].scissored) << "an unknown age: the whole frame";
      continue;
    }
    ASSERT_TRUE(draws[0].scissored) << age;
    const GLint* box = draws[0].scissor;  // GL's: from the bottom left
    const int top = 480 - (box[1] + box[3]);
    const int bottom = 480 - box[1];
    const int firstRow = 20 + 100 * (3 - age);
    EXPECT_LE(top, firstRow) << "age " << age;
    EXPECT_GT(top, firstRow - 90) << "age " << age << ": no older change";
    EXPECT_GE(bottom, 230) << "age " << age;
  }
}

TEST(Replay, AFullListDropsRecordsButHitTestsStillAnswer) {
  GameHarness h;
  h.FinishLoading();
  h.MouseMove(320, 240);
  h.MouseDown();
  h.Update();
  c_MyApp* app = h.app;
  app->p_CLS2D(kAbsent, 0, 0, 0);
  for (int i = 0; i < 2600; ++i) app->p_Rect(0, 0, 1, 1);
  // The record that takes the list past 37,484 floats is the last one.
  EXPECT_EQ(app->m_DrawLen, 37485);
  EXPECT_EQ(app->p_Button(1, 320, 240, 0), 1);
  EXPECT_EQ(app->p_Touch(300, 220, 10, 10), 1);
  EXPECT_EQ(app->p_Touch(400, 220, 10, 10), 0);
  EXPECT_EQ(app->m_DrawLen, 37485);
  int quads = 0;
  for (const GlDraw& draw : Replay(h)) quads += draw.count / 6;
  EXPECT_EQ(quads, 2499) << "2,499 records after the clear";
  EXPECT_EQ(h.gl.Count("Clear"), 1);
}

TEST(HotKeys, F1ShowsTheDebugLineAndF2HidesTheHud) {
  GameHarness h;
  h.FinishLoading();
  Tap(h, kKeyF1);
  EXPECT_EQ(rk_Game_DebugMode, 1);
  EXPECT_THAT(h.DrawnText(), ::testing::ContainsRegex("[0-9]+-1\\.0,1\\.0:[0-9]+$"));
  Tap(h, kKeyF1);
  EXPECT_EQ(rk_Game_DebugMode, 0);
  Tap(h, kKeyF2);
  EXPECT_EQ(h.app->m_HideHud, 1);
}

TEST(HotKeys, F4AndTheCloseButtonEndTheProgramQuietly) {
  for (int key : {kKeyF4, KEY_WINDOW_CLOSE}) {
    EXPECT_EXIT(
        {
          GameHarness h;
          h.KeyDown(key);
          h.Update();
          std::exit(3);
        },
        ::testing::ExitedWithCode(0), "")
        << key;
  }
}

TEST(Meters, UpdateAndRenderRatesAreSmoothed) {
  GameHarness h;
  for (int i = 0; i < 120; ++i) {
    h.Update();
    h.Render();
  }
  EXPECT_THAT(h.app->m_UpdateFps, ::testing::AnyOf(58, 62));
  // The truncating average settles a little below the rate.
  EXPECT_THAT(h.app->m_UpdateFpsAvg, ::testing::AllOf(::testing::Ge(50), ::testing::Le(62)));
  EXPECT_THAT(h.app->m_RenderFpsAvg, ::testing::AllOf(::testing::Ge(50), ::testing::Le(62)));
}

TEST(SuspendAndResume, AGameComesBackPausedAndTheMenuDoesNot) {
  GameHarness h;
  h.FinishLoading();
  h.host.SuspendGame();
  EXPECT_EQ(h.app->m_Paused, 0);
  EXPECT_EQ(h.host.UpdateRate(), 5);
  EXPECT_FALSE(h.StateFile().empty()) << "suspending saves";
  h.app->m_Screen = 10;
  h.host.ResumeGame();
  EXPECT_EQ(h.app->m_Paused, 1);
  EXPECT_EQ(h.app->m_PauseSlide, 240);
  EXPECT_EQ(h.host.UpdateRate(), 60);
}

TEST(Memory, TheCardStoreKeepsItsLengthWithoutTouchingItsPages) {
  GameHarness h;
  EXPECT_EQ(h.app->m_Grid.Length(), kGridEntries);
  EXPECT_EQ(h.app->m_Grid[kGridEntries - 1], 0);
  EXPECT_EQ(h.app->m_Grid[64], 0);
}

}  // namespace

namespace {

// True when the object was found unreachable and waits to be destroyed.
bool Garbage(gc_object* object) {
  for (gc_object* o = gc_free_list.next; o != &gc_free_list; o = o->next) {
    if (o == object) return true;
  }
  return false;
}

// A full collection after every update and render, as the host runs one
// step after each event: the game record keeps everything it holds.
TEST(Collector, FullCyclesBetweenEventsKeepEverythingTheGameHolds) {
  GameHarness h;
  gc_stress = true;
  for (int i = 0; i < 20; ++i) {
    h.Update();
    gc_collect();
    h.Render();
    gc_collect();
  }
  gc_stress = false;
  EXPECT_EQ(std::string(String::CString<char>(gc_check_heap())), "");
  c_MyApp* app = h.app;
  for (gc_object* held : std::initializer_list<gc_object*>{
           app->m_Images.rep(), app->m_Sounds.rep(), app->m_DrawList.rep(), app->m_Grid.rep(),
           app->m_Settings.rep(), app->m_Turn.rep(), app->m_Images[1], app->m_Sounds[96],
           rk_Game_CreditText.rep(), rk_Game_MenuSet.rep()}) {
    EXPECT_FALSE(Garbage(held));
  }
  EXPECT_EQ(h.app->m_LoadStep, 0);
  for (int slot : {1, 2, 3, 80, 81, 85, 86, 90, 94, 95, 96, 97, 98, 99}) {
    ASSERT_NE(h.app->m_Images[slot], nullptr) << slot;
    EXPECT_GT(h.app->m_Images[slot]->m_Surface->width, 0) << slot;
  }
  EXPECT_EQ(h.app->m_Images[93], nullptr) << "the studio logo is kept only while loading";
  EXPECT_NE(h.app->m_Sounds[96], nullptr);
  EXPECT_EQ(rk_Game_CreditText.Length(), 84);
  EXPECT_EQ(h.app->m_Grid.Length(), kGridEntries);
}

}  // namespace
