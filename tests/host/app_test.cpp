// The application layer on the desktop host: the delegate's start, updates and
// forwarding, the app module's cached values, display modes and the ways out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "graphics/gl_recorder.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "tests/host/fake_window.h"

namespace {

using ::testing::ElementsAre;

// An application that notes what it sees.
struct NotingApp : c_App {
  EventLog* log = nullptr;
  std::function<void()> onUpdate;

  int p_OnCreate() override {
    log->push_back("create, modes " + std::to_string(rk_app__displayModes.Length()) +
                   ", input " + (rk_input_device ? "ready" : "missing"));
    return 0;
  }
  int p_OnSuspend() override {
    log->push_back("app suspend");
    return 0;
  }
  int p_OnResume() override {
    log->push_back("app resume");
    return 0;
  }
  int p_OnUpdate() override {
    log->push_back("app update " + std::to_string(rk_app_DeviceWidth()));
    if (onUpdate) onUpdate();
    return 0;
  }
  int p_OnRender() override {
    log->push_back("app render");
    return 0;
  }
};

class AppLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    rk_app__app = nullptr;
    rk_app__delegate = nullptr;
    rk_input_device = nullptr;
    rk_app__devWidth = rk_app__devHeight = 0;
    rk_app__displayModes = Array<c_DisplayMode*>();
    rk_app__desktopMode = nullptr;
    rk_app__game = &host;
    // The delegate makes a graphics device; it draws into a recorder here.
    previousGl = SetGlLayer(&gl);
    rk_graphics_device = nullptr;
    rk_graphics_context = (new c_GraphicsContext())->m_new();
    app->log = &log;
    app->m_new();
  }

  void TearDown() override { SetGlLayer(previousGl); }

  void RunPasses(int passes) {
    window.framesLeft = passes;
    host.Run();
  }

  GlRecorder gl;
  GlLayer* previousGl = nullptr;
  EventLog log;
  FakeWindowSystem window{nullptr};
  TestHost host{&window};
  NotingApp* app = new NotingApp();
};

TEST_F(AppLayer, RegisteringHandsTheHostADelegate) {
  EXPECT_EQ(rk_app__app, app);
  ASSERT_NE(rk_app__delegate, nullptr);
  EXPECT_EQ(host.Delegate(), rk_app__delegate);
}

TEST_F(AppLayer, TheStartMakesTheInputDeviceAndReadsTheModesBeforeTheApplication) {
  window.modes = {{800, 600, 5, 6, 5}};
  EXPECT_EQ(rk_app_DeviceWidth(), 0);
  RunPasses(1);
  EXPECT_THAT(log, ElementsAre("create, modes 1, input ready", "app render", "app update 640"));
  EXPECT_EQ(rk_app__delegate->m_Input, rk_input_device);
  EXPECT_EQ(rk_app_DeviceHeight(), 480);
}

TEST_F(AppLayer, DuplicateDisplayModesAppearOnceInFirstOrder) {
  window.modes = {{800, 600, 5, 6, 5}, {640, 480, 8, 8, 8}, {800, 600, 8, 8, 8}, {1024, 768, 8, 8, 8}};
  rk_app_EnumDisplayModes();
  ASSERT_EQ(rk_app__displayModes.Length(), 3);
  EXPECT_EQ(rk_app__displayModes[0]->m_Width, 800);
  EXPECT_EQ(rk_app__displayModes[1]->m_Height, 480);
  EXPECT_EQ(rk_app__displayModes[2]->m_Width, 1024);
  EXPECT_EQ(rk_app__desktopMode->m_Width, 1920);
  EXPECT_EQ(rk_app__desktopMode->m_Height, 1080);
}

TEST_F(AppLayer, WithoutADesktopModeTheDeviceSizeStandsIn) {
  window.hasDesktop = false;
  rk_app__devWidth = 321;
  rk_app__devHeight = 123;
  rk_app_EnumDisplayModes();
  EXPECT_EQ(rk_app__displayModes.Length(), 0);
  EXPECT_EQ(rk_app__desktopMode->m_Width, 321);
  EXPECT_EQ(rk_app__desktopMode->m_Height, 123);
}

TEST_F(AppLayer, AnUpdateSeesTheHitsSinceThePreviousOneOnly) {
  std::vector<int> hits;
  app->onUpdate = [&] { hits.push_back(rk_input_KeyHit(33)); };
  int pumps = 0;
  window.onPump = [&] {
    if (++pumps == 2) window.listener->OnKey(GLFW_KEY_PAGE_UP, kActionPress);
  };
  RunPasses(3);
  EXPECT_THAT(hits, ElementsAre(0, 1, 0));
}

TEST_F(AppLayer, RateSixtyThenZeroLeavesOneUpdatePerFrame) {
  app->onUpdate = [&] {
    rk_app_SetUpdateRate(60);
    rk_app_SetUpdateRate(0);
  };
  RunPasses(3);
  EXPECT_EQ(rk_app__updateRate, 0);
  EXPECT_EQ(host.UpdateRate(), 0);
  EXPECT_EQ(Only(log, "app update").size(), 3u);
}

TEST_F(AppLayer, SuspendAndResumeReachTheApplicationOnce) {
  host.StartGame();
  host.SuspendGame();
  host.SuspendGame();
  host.UpdateGame();
  host.ResumeGame();
  host.ResumeGame();
  EXPECT_EQ(Only(log, "app suspend").size(), 1u);
  EXPECT_EQ(Only(log, "app resume").size(), 1u);
  EXPECT_TRUE(Only(log, "app update").empty());
}

TEST_F(AppLayer, TheClockAndTheStateGoThroughTheHost) {
  window.now = 2.5;
  EXPECT_EQ(rk_app_Millisecs(), 2500);
  // The host's state file keeps it, and says so.
  EXPECT_EQ(rk_app_SaveState(String("x")), 0);
  EXPECT_TRUE(rk_app_LoadState() == String("x"));
}

using AppLayerDeathTest = AppLayer;

TEST_F(AppLayerDeathTest, TheCloseButtonEndsTheProcessWithStatusZero) {
  host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
  host.StartGame();
  EXPECT_EXIT(
      {
        window.listener->OnCloseRequest();
        fprintf(stderr, "still running");
      },
      ::testing::ExitedWithCode(0), "^$");
}

TEST_F(AppLayerDeathTest, TheBackKeyEndsTheProcessButItsReleaseDoesNot) {
  host.StartGame();
  host.KeyEvent(KeyUp, KEY_BACK_BUTTON);
  host.KeyEvent(KeyUp, KEY_WINDOW_CLOSE);
  EXPECT_EXIT(host.KeyEvent(KeyDown, KEY_BACK_BUTTON), ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
