// Sound effects on their rotation of channels, the music track and its
// settings, and the usage ping against a loopback server.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "net/async_event_source.h"
#include "tests/game/harness.h"
#include "tests/net/loopback_server.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Sound : public ::testing::Test {
 protected:
  void SetUp() override {
    h.FinishLoading();
    app = h.app;
    h.audio->log.clear();
    app->m_SfxChannel = 0;  // as before the logo sound of the loader
  }
  GameHarness h;
  c_MyApp* app = nullptr;
};

TEST_F(Sound, EffectsRotateOverTwentyFourChannels) {
  for (int i = 0; i < 25; ++i) app->p_PlaySFX(99, 1, 1, 0);
  std::vector<std::string> plays = h.audio->Only("play");
  ASSERT_EQ(plays.size(), 25u);
  EXPECT_EQ(plays[0], "play ch 1 flags 0");
  EXPECT_EQ(plays[22], "play ch 23 flags 0");
  EXPECT_EQ(plays[23], "play ch 0 flags 0");
  EXPECT_EQ(plays[24], "play ch 1 flags 0");
  // Each play stops the channel first, then sets rate, volume and pan.
  EXPECT_THAT(std::vector<std::string>(h.audio->log.begin(), h.audio->log.begin() + 5),
              ElementsAre("stop 1", "play ch 1 flags 0", "rate 1 1", "volume 1 1", "pan 1 0"));
}

TEST_F(Sound, TheAudioModeAndEffectLevelDecideWhatIsHeard) {
  app->m_Settings[5] = 3;  // music only
  app->p_PlaySFX(99, 1, 1, 0);
  EXPECT_THAT(h.audio->log, IsEmpty());
  app->m_Settings[5] = 2;
  app->m_Settings[6] = 1;
  app->p_PlaySFX(99, 1.2f, 0.8f, 0);
  EXPECT_THAT(h.audio->Only("volume"), ElementsAre("volume 1 0.6"));
  app->m_Settings[6] = 3;
  app->p_PlaySFX(99, 1, 1, 0);
  app->p_PlaySFX(50, 1, 1, 0);  // never loaded
  EXPECT_EQ(h.audio->Only("play").size(), 1u);
}

TEST_F(Sound, MusicFollowsTheModeAndLevelAndPausesWithTheGame) {
  app->p_PlayTune(String("-1"), 1);
  EXPECT_THAT(h.audio->log, IsEmpty()) << "no current track";
  app->m_Settings[5] = 2;
  app->p_PlayTune(String("fish"), 1);
  EXPECT_THAT(h.audio->log, IsEmpty()) << "remembered, not played";
  EXPECT_EQ(app->m_MusicOn, 0);
  app->m_Settings[5] = 1;
  app->m_Settings[7] = 1;
  app->p_PlayTune(String("-1"), 1);
  EXPECT_THAT(h.audio->log, ElementsAre("music zorvex://data/sfx/fish.ogg 1", "music volume 0.7"));
  h.audio->log.clear();
  app->m_Paused = 1;
  h.Update();
  app->m_Paused = 0;
  h.Update();
  app->p_StopTune();
  h.Update();
  EXPECT_THAT(h.audio->log, ElementsAre("music pause", "music resume", "music stop"));
}

TEST(UsagePing, WhenAllowedItReachesTheEndpointAndStoresTheAnswer) {
  LoopbackServer server({Reply{HttpRequestComplete, {"HTTP/1.0 200 OK\r\n\r\nwelcome"}}});
  GameHarness h(640, 480, [&] {
    rk_Game_J_On_Allow = 1;
    rk_Game_PingEndpoint =
        String(("http://127.0.0.1:" + std::to_string(server.port()) + "/housecall.php").c_str());
  });
  EXPECT_EQ(h.app->m_HttpDone, 0);
  for (int i = 0; i < 400 && h.app->m_HttpDone == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    h.Update();
  }
  EXPECT_EQ(h.app->m_HttpDone, 1);
  EXPECT_THAT(server.request(0), ::testing::StartsWith("GET /housecall.php?hello=1&gameID=415 "));
  EXPECT_EQ(std::string(String::CString<char>(h.app->m_HttpResponse)), "welcome");
  EXPECT_EQ(rk_Game_J_On_Able, 1);
  std::string printed = h.Printed();
  EXPECT_THAT(printed, ::testing::HasSubstr("Requesting URL"));
  EXPECT_THAT(printed, ::testing::HasSubstr("Http GET complete! 200"));
}

TEST(UsagePing, ByDefaultNoSocketIsOpened) {
  GameHarness h;
  h.FinishLoading();
  EXPECT_EQ(rk_asyncevent__sources->p_Length(), 0);
  EXPECT_EQ(h.app->m_HttpRequest, nullptr);
  EXPECT_EQ(std::string(String::CString<char>(h.app->m_HttpResponse)), "N/A");
}

}  // namespace
