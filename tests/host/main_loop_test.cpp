// The main loop's schedule on a fake clock: rendering, sleeping, catching up,
// dropping a backlog, rate changes and focus; and the event guards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "graphics/gl_recorder.h"
#include "graphics/surface.h"
#include "tests/host/fake_window.h"

namespace {

using ::testing::ElementsAre;

class MainLoop : public ::testing::Test {
 protected:
  void SetUp() override { host.SetDelegate(delegate); }

  // Runs the loop for `passes` frames.
  void RunPasses(int passes) {
    window.framesLeft = passes;
    host.Run();
  }

  // Whether the pass (numbered from 1) slept, and for how many microseconds.
  std::string SleepOf(int pass) {
    EventLog sleeps = Only(Passes(log).at(pass - 1), "sleep");
    return sleeps.empty() ? "none" : sleeps.front();
  }

  EventLog log;
  FakeWindowSystem window{&log};
  TestHost host{&window};
  RecordingDelegate* delegate = new RecordingDelegate(&log);
};

TEST_F(MainLoop, OpensACentredWindowThenStartsTheGame) {
  int contexts = glfwGraphicsSeq;
  RunPasses(1);
  const RkWindowRequest& r = window.lastRequest;
  EXPECT_EQ(r.width, 640);
  EXPECT_EQ(r.height, 480);
  EXPECT_EQ(std::string(r.title), "Marvolet");
  EXPECT_FALSE(r.fullscreen);
  EXPECT_EQ(r.x, 640);  // centred on the 1920 x 1080 desktop
  EXPECT_EQ(r.y, 300);
  EXPECT_EQ(r.minWidth, 480);
  EXPECT_EQ(r.minHeight, 360);
  EXPECT_EQ(r.redBits + r.greenBits + r.blueBits, 24);
  EXPECT_EQ(r.alphaBits + r.depthBits + r.stencilBits, 0);
  EXPECT_EQ(window.swapInterval, 1);
  EXPECT_EQ(glfwGraphicsSeq, contexts + 1);
  EXPECT_THAT(log, ElementsAre("open window", "start", "render", "swap", "poll", "update"));
}

TEST_F(MainLoop, CentringRoundsHalfPixelsTowardZero) {
  window.desktop.width = 641;
  window.desktop.height = 479;
  RunPasses(1);
  EXPECT_EQ(window.lastRequest.width, 540);  // the largest 4:3 in 85 % of it
  EXPECT_EQ(window.lastRequest.x, 50);
  EXPECT_EQ(window.lastRequest.y, 37);
}

// Monitors as GLFW reported them (mode, then work area): the first window is
// the largest whole multiple of 640 x 480 within 85 % of the work area, or
// the largest 4:3 that fits, and always lies wholly on the work area.
TEST(FirstWindow, FitsTheMonitorItOpensOn) {
  const struct {
    int desktop[2], work[4], size[2], at[2];
  } monitors[] = {
      {{480, 800}, {0, 0, 480, 800}, {480, 360}, {0, 220}},             // a small tablet, upright
      {{800, 600}, {0, 0, 800, 600}, {640, 480}, {80, 60}},
      {{1024, 600}, {0, 0, 1024, 576}, {640, 480}, {192, 48}},          // a netbook's panel below
      {{1366, 768}, {0, 27, 1366, 741}, {640, 480}, {363, 157}},        // a panel on top
      {{1920, 1080}, {0, 0, 1920, 1040}, {640, 480}, {640, 280}},       // a taskbar below
      {{2560, 1440}, {72, 0, 2488, 1440}, {1280, 960}, {676, 240}},     // a dock on the left
      {{3840, 2160}, {0, 32, 3840, 2128}, {1920, 1440}, {960, 376}},
  };
  for (const auto& m : monitors) {
    EventLog log;
    FakeWindowSystem window{&log};
    window.desktop.width = m.desktop[0];
    window.desktop.height = m.desktop[1];
    std::copy(std::begin(m.work), std::end(m.work), window.workArea);
    window.framesLeft = 1;
    TestHost host{&window};
    host.SetDelegate(new RecordingDelegate(&log));
    host.Run();
    const RkWindowRequest& r = window.lastRequest;
    SCOPED_TRACE(std::to_string(m.desktop[0]) + "x" + std::to_string(m.desktop[1]));
    EXPECT_EQ(r.width, m.size[0]);
    EXPECT_EQ(r.height, m.size[1]);
    EXPECT_EQ(r.x, m.at[0]);
    EXPECT_EQ(r.y, m.at[1]);
    EXPECT_LE(r.x + r.width, m.work[0] + m.work[2]);
    EXPECT_LE(r.y + r.height, m.work[1] + m.work[3]);
  }
}

TEST_F(MainLoop, AtRate60EachPassPresentsThenSleepsUntilTheUpdateIsDue) {
  host.SetUpdateRate(60);
  RunPasses(5);
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 1, 1, 1, 1));
  EXPECT_EQ(SleepOf(1), "none");
  for (int pass = 2; pass <= 5; ++pass) EXPECT_EQ(SleepOf(pass), "sleep 16667") << pass;
  EXPECT_THAT(Passes(log)[1],
              ElementsAre("render", "swap", "sleep 16667", "poll", "update"));
  EXPECT_NEAR(window.now, 1 + 4.0 / 60, 1e-9);
}

TEST_F(MainLoop, AfterAStallFourUpdatesCatchUpAndTheRestOfTheBacklogIsDropped) {
  host.SetUpdateRate(60);
  int renders = 0;
  delegate->onRender = [&] {
    if (++renders == 3) window.now += 0.1;  // six updates late
  };
  RunPasses(6);
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 1, 4, 1, 1, 1));
  // The schedule restarts from the present: an update at once, then one a step.
  EXPECT_EQ(SleepOf(4), "none");
  EXPECT_EQ(SleepOf(5), "sleep 16667");
  EXPECT_EQ(SleepOf(6), "sleep 16667");
}

TEST_F(MainLoop, ARateChangeInsideAnUpdateEndsTheCatchUp) {
  host.SetUpdateRate(60);
  int renders = 0;
  delegate->onRender = [&] {
    if (++renders == 3) window.now += 0.1;
  };
  delegate->onUpdate = [&](int update) {
    if (update == 4) host.SetUpdateRate(30);  // the second update of pass 3
  };
  RunPasses(5);
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 1, 2, 1, 1));
  EXPECT_EQ(SleepOf(4), "none");
  EXPECT_EQ(SleepOf(5), "sleep 33333");
}

TEST_F(MainLoop, AtRate0EachPassUpdatesOnceWithoutSleeping) {
  RunPasses(4);
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 1, 1, 1));
  EXPECT_TRUE(Only(log, "sleep").empty());
}

TEST_F(MainLoop, LosingFocusSuspendsOnceAndRegainingItResumesOnce) {
  host.SetUpdateRate(60);
  int pumps = 0;
  window.onPump = [&] {
    ++pumps;
    if (pumps == 3) window.active = false;
    if (pumps == 6) window.active = true;
  };
  RunPasses(8);
  EXPECT_EQ(Only(log, "suspend").size(), 1u);
  EXPECT_EQ(Only(log, "resume").size(), 1u);
  // Frames go on while suspended, but no update runs, and the loop blocks in
  // the event wait instead of polling.
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 1, 0, 0, 0, 1, 1, 1));
  EXPECT_EQ(Only(log, "wait").size(), 3u);
  EXPECT_THAT(Passes(log)[5], ElementsAre("render", "swap", "wait", "resume", "update"));
}

TEST_F(MainLoop, AKeptFrameStaysOnScreenUntilTheWindowLosesItsContents) {
  host.SetUpdateRate(60);
  delegate->onRender = [&] { host.FrameStillShown(); };
  // Kept frames are not swapped, so the pump counts the passes.
  int pumps = 0;
  window.onPump = [&] {
    if (++pumps == 3) host.OnContentsLost();
    if (pumps == 6) window.framesLeft = 0;
  };
  RunPasses(-1);
  std::vector<size_t> swaps;
  for (const EventLog& pass : Passes(log)) swaps.push_back(Only(pass, "swap").size());
  // Nothing is on screen before the first swap; after the contents are lost
  // (in pass 3's event pump) the next frame is presented again.
  EXPECT_THAT(swaps, ElementsAre(1, 0, 0, 1, 0, 0));
  // Each run opens a new window, which starts without a frame on screen.
  log.clear();
  pumps = 0;
  window.onPump = [&] {
    if (++pumps == 2) window.framesLeft = 0;
  };
  RunPasses(-1);
  EXPECT_EQ(Only(log, "swap").size(), 1u);
}

TEST_F(MainLoop, ALostContextDrawsNothingUntilRestoredThenAWholeFrameWithNewTextures) {
  GlRecorder gl;
  GlLayer* previousGl = SetGlLayer(&gl);
  auto* picture = new gxtkSurface();
  picture->width = picture->height = 2;
  picture->depth = 4;
  picture->format = GL_RGBA;
  host.SetUpdateRate(60);
  delegate->onRender = [&] {
    picture->Bind();
    host.FrameStillShown();
  };
  int pumps = 0;
  window.onPump = [&] {
    ++pumps;
    if (pumps == 2) window.listener->OnContextLost();
    if (pumps == 4) window.listener->OnContextRestored();
    if (pumps == 6) window.framesLeft = 0;
  };
  int contexts = glfwGraphicsSeq;
  RunPasses(-1);
  SetGlLayer(previousGl);
  // Updates go on while lost, without renders; the first frame after is
  // presented, though the game would have kept the one on screen.
  EXPECT_THAT(UpdatesPerPass(log), ElementsAre(1, 3, 1, 1));
  EXPECT_THAT(Only(log, "swap"), ElementsAre("swap", "swap"));
  EXPECT_THAT(Passes(log)[2], ElementsAre("render", "swap", "sleep 16667", "poll", "update"));
  EXPECT_EQ(glfwGraphicsSeq, contexts + 2);
  // The lost context's texture went with it: made again, never deleted.
  EXPECT_EQ(gl.Count("GenTextures"), 2);
  EXPECT_EQ(gl.Count("DeleteTextures"), 0);
}

// A host whose collector steps show in the log beside the delegate's events.
class HostGuards : public ::testing::Test {
 protected:
  void SetUp() override {
    host.log = &log;
    host.SetDelegate(new RecordingDelegate(&log));
  }

  EventLog log;
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
};

TEST_F(HostGuards, EventsBeforeTheStartAreDropped) {
  host.UpdateGame();
  host.RenderGame();
  host.SuspendGame();
  host.ResumeGame();
  host.KeyEvent(KeyDown, 65);
  host.MouseEvent(MouseMove, -1, 1, 2);
  host.TouchEvent(TouchDown, 0, 1, 2);
  host.MotionEvent(AccelChange, 0, 1, 2, 3);
  host.DiscardGraphics();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(host.Started());

  host.StartGame();
  host.StartGame();
  EXPECT_THAT(log, ElementsAre("start", "gc"));
  EXPECT_TRUE(host.Started());
}

TEST_F(HostGuards, EachDeliveredEventIsFollowedByOneCollectorStep) {
  host.StartGame();
  host.SuspendGame();
  host.SuspendGame();
  host.UpdateGame();  // dropped while suspended
  host.RenderGame();
  host.KeyEvent(KeyDown, 65);
  host.ResumeGame();
  host.ResumeGame();
  host.UpdateGame();
  host.MouseEvent(MouseMove, -1, 1.5f, 2);
  host.TouchEvent(TouchMove, 3, 4, 5);
  host.MotionEvent(AccelChange, 0, 1, 2, 3);
  host.DiscardGraphics();
  EXPECT_THAT(log, ElementsAre("start", "gc", "suspend", "gc", "render", "gc", "key 1 65", "gc",
                               "resume", "gc", "update", "gc", "mouse 6 -1 1.5 2", "gc",
                               "touch 9 3 4 5", "gc", "motion 10 0 1 2 3", "gc", "discard", "gc"));
}

TEST_F(HostGuards, AnEventSentFromInsideAnotherRunsNoCollectorStep) {
  host.StartGame();
  log.clear();
  // A window change made during an update releases the held keys from inside it.
  auto* delegate = static_cast<RecordingDelegate*>(host.Delegate());
  delegate->onUpdate = [&](int) { host.KeyEvent(KeyUp, 122); };
  host.UpdateGame();
  EXPECT_THAT(log, ElementsAre("update", "key 2 122", "gc"));
}

// A delegate that forces a full collector cycle after its update and tells
// when it is destroyed.
class FullCycleDelegate : public RkGameDelegate {
 public:
  explicit FullCycleDelegate(bool* destroyed) : destroyed_(destroyed) {}
  ~FullCycleDelegate() override { *destroyed_ = true; }
  void UpdateGame() override { gc_new_bytes = gc_cycle_bytes + 1; }

 private:
  bool* destroyed_;
};

TEST(HostCollector, ADelegateHeldOnlyByTheHostSurvivesAFullCycle) {
  bool destroyed = false;
  RkGame host;  // the real collector step
  host.SetDelegate(new FullCycleDelegate(&destroyed));
  host.StartGame();
  host.UpdateGame();
  // New objects are paid for by destroying the garbage of the cycle.
  while (gc_free_bytes > 0) new Object();
  ASSERT_FALSE(destroyed);
  host.UpdateGame();  // the host still calls a live delegate
}

TEST(HostWithoutDelegate, EventsGoNowhere) {
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  host.StartGame();
  host.UpdateGame();
  host.KeyEvent(KeyDown, 65);
  EXPECT_TRUE(host.Started());
  EXPECT_EQ(host.collectorSteps, 0);
}

}  // namespace
