// The drawing helpers: the draw state in the records, triangle winding, the
// palette, the pointer tests, text layout, the number formatter, the random
// source and the background.
#include <gmock/gmock.h>

#include "tests/game/harness.h"

namespace {

using ::testing::ElementsAre;

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    h.FinishLoading();
    app = h.app;
    app->p_CLS2D(kAbsent, 0, 0, 0);
  }
  // x of each glyph record, in order.
  std::vector<float> GlyphXs() {
    std::vector<float> xs;
    for (const DrawRecord& r : h.RecordsOf(90)) xs.push_back(r.x());
    return xs;
  }
  GameHarness h;
  c_MyApp* app = nullptr;
};

TEST_F(Drawing, RecordsCarryTheDrawStateAndOptionalArgumentsCanBeLeftOut) {
  app->p_SetSize(2, kAbsent);
  app->p_SetRot(30);
  app->p_SetCol(10, 20, 30, 0.5f);
  app->p_SetCol(40, 50, 60, kAbsent);
  app->m_DrawBlend = 3;
  app->p_DrawImg(1, 5, 6, 7);
  DrawRecord r = h.Records().back();
  EXPECT_THAT(std::vector<float>(r.f, r.f + 15),
              ElementsAre(1, 5, 6, -30, 2, 2, 7, 0.5f, 0, 0, 40, 50, 60, 3, 0));
  app->p_Ink(1, 2);
  EXPECT_THAT(std::vector<float>({app->m_DrawRed, app->m_DrawGreen, app->m_DrawBlue}),
              ElementsAre(255, 51, 51));
  app->p_Ink(42, 1);
  EXPECT_NEAR(app->m_DrawRed, 76.5f, 1e-3);
  EXPECT_EQ(app->m_DrawAlpha, 0.5f);
}

TEST_F(Drawing, TrianglesAreStoredInOneWinding) {
  app->p_Tri(0, 0, 10, 0, 0, 10);
  app->p_Tri(10, 0, 0, 0, 0, 10);
  std::vector<DrawRecord> tris = h.RecordsOf(kRecordTri);
  ASSERT_EQ(tris.size(), 2u);
  EXPECT_THAT(std::vector<float>(tris[0].f + 1, tris[0].f + 7), ElementsAre(0, 0, 10, 0, 0, 10));
  EXPECT_THAT(std::vector<float>(tris[1].f + 1, tris[1].f + 7), ElementsAre(0, 10, 0, 0, 10, 0));
}

TEST_F(Drawing, AButtonAnswersForAsLongAsThePointerIsHeldInsideIt) {
  h.MouseMove(100, 100);
  h.MouseDown();
  for (int i = 0; i < 3; ++i) {
    h.Update();
    EXPECT_EQ(app->p_Button(95, 110, 110, 0), 1) << i;  // 64 x 64 centred on (110, 110)
    EXPECT_EQ(app->p_Button(95, 150, 110, 0), 0);
    EXPECT_EQ(app->p_MouseIn(99, 99, 2, 2), 1);
    EXPECT_EQ(app->p_MouseIn(100, 99, 2, 2), 0) << "the edge is outside";
    EXPECT_EQ(app->p_MouseIn_Radius(103, 104, 10, 0), 1) << "boundary included";
    EXPECT_EQ(app->p_Touch(106, 100, 10, 10), 0);
    EXPECT_EQ(app->p_Touch(105, 100, 10, 10), 1) << "a margin of 6";
  }
  h.MouseUp();
  h.Update();
  EXPECT_EQ(app->p_Button(95, 110, 110, 0), 0);
}

TEST_F(Drawing, TextIsLaidOutWithKerningAlignmentAndLineBreaks) {
  // One character: the width is the leading space's advance only.
  app->p_Text(100, 50, String("A"), 1, 1, 0);
  EXPECT_THAT(GlyphXs(), ElementsAre(103.5f));
  app->p_CLS2D(kAbsent, 0, 0, 0);
  // "w" is 2 wider and "i" 3 narrower; right-aligned text ends at x.
  app->p_Text(100, 50, String("wi"), 2, 1, 0);
  EXPECT_THAT(GlyphXs(), ElementsAre(91, 100));
  app->p_CLS2D(kAbsent, 0, 0, 0);
  app->p_SetSize(2, kAbsent);
  app->p_Text(0, 50, String("ab"), 0, 0, 0);
  EXPECT_THAT(GlyphXs(), ElementsAre(14, 28));
  EXPECT_EQ(h.RecordsOf(90)[0].y(), 60) << "vAlign 0 moves half a line down";
  app->p_CLS2D(kAbsent, 0, 0, 0);
  app->p_Text(0, 0, rk_Game_MenuSet[1], 0, 1, 0);
  std::vector<DrawRecord> glyphs = h.RecordsOf(90);
  EXPECT_EQ(h.DrawnText(), "Onlyfivenumberstoearn,percard.");
  const DrawRecord& second = glyphs[15];  // "t" of "to"
  EXPECT_NEAR(second.x(), 7, 1e-4);
  EXPECT_NEAR(second.y(), 10, 1e-4);
}

TEST_F(Drawing, EscapesDrawKeyboardIconsOrBlinkingPadIcons) {
  const String text = String(u"\u00acK", 2);
  app->p_Text(0, 0, text, 0, 1, 0);
  EXPECT_EQ(h.Records().back().f[6], 113);
  app->m_InputKind = 1;
  std::vector<float> frames;
  for (int ms : {1000, 1300}) {
    h.host.millis = ms;
    app->p_Text(0, 0, text, 0, 1, 0);
    frames.push_back(h.Records().back().f[6]);
  }
  EXPECT_THAT(frames, ElementsAre(109, 97));
  // Escapes count 2 towards the width: "¬K" centred starts 7.5 left of x (space 7 + 2 + ...).
  app->p_CLS2D(kAbsent, 0, 0, 0);
  app->p_Text(100, 0, String(u"\u00acQx", 3), 2, 1, 0);
  EXPECT_THAT(GlyphXs(), ElementsAre(91, 102));
}

TEST(Formatting, NumbersArePaddedOrKeepTheirLastDigits) {
  GameHarness h;
  auto text = [](const String& s) { return std::string(String::CString<char>(s)); };
  EXPECT_EQ(text(h.app->p_rstr(42, 5, String("0"))), "00042");
  EXPECT_EQ(text(h.app->p_rstr(42, 1, String("0"))), "2");
  EXPECT_EQ(text(h.app->p_rstr(-7, 3, String(" "))), " -7");
}

TEST(Random, TheGeneratorDealsTheSameFromTheSameSeed) {
  GameHarness h;
  c_MyApp* app = h.app;
  rk_random_Seed = 1234;
  EXPECT_FLOAT_EQ(rk_random_Rnd(), 0.7143076658f);
  EXPECT_EQ(rk_random_Seed, 3067928073u);
  EXPECT_FLOAT_EQ(rk_random_Rnd(), 0.2070130706f);
  rk_random_Seed = 1234;
  std::vector<int> dice;
  for (int i = 0; i < 8; ++i) dice.push_back(app->p_Rand(6));
  EXPECT_THAT(dice, ElementsAre(5, 2, 5, 3, 5, 2, 2, 2));
  app->p_SeedRnd(1234);
  EXPECT_EQ(rk_random_Seed, 1400991965u);
  h.host.millis = 1234;
  app->p_SeedRnd(-37171650);
  EXPECT_EQ(rk_random_Seed, 1400991965u) << "the clock stands in";
  for (int i = 0; i < 2000; ++i) {
    int v = app->p_Rand(20, 39);
    ASSERT_TRUE(v >= 20 && v <= 39) << v;
  }
}

TEST(Background, TheColourEasesTowardEachScreensOwn) {
  GameHarness h;
  c_MyApp* app = h.app;
  app->m_BgRed = 20;
  app->m_BgGreen = 80;
  app->m_BgBlue = 160;
  app->p_Rect(0, 0, 1, 1);
  app->p_DoBG(100, 140, 200, -123);
  EXPECT_EQ(app->m_ClearRed, 30);
  EXPECT_EQ(app->m_ClearGreen, 87.5f);
  EXPECT_EQ(app->m_ClearAlpha, 1);
  EXPECT_EQ(app->m_DrawLen, 0);
  for (int i = 0; i < 40; ++i) app->p_DoBG(-123, -123, -123, 2);
  EXPECT_NEAR(app->m_BgRed, 100, 2);
  EXPECT_EQ(app->m_ClearAlpha, 1) << "alpha is limited to 1";
}

TEST(Background, ParticlesFallFadeAndAreFreedAndStarsFollowTheClock) {
  GameHarness h;
  c_MyApp* app = h.app;
  app->p_ResetParticles(0);
  EXPECT_EQ(app->m_PartCount, 250);
  float* part = &app->m_Parts[10 * 3];
  const float start[10] = {2, 100, 100, 1, 0, 0, 0, 0.02f, 1, 5};
  std::copy(start, start + 10, part);
  app->p_CLS2D(kAbsent, 0, 0, 0);
  app->p_DoParticles(1);
  EXPECT_EQ(h.RecordsOf(96).size(), 1u);
  EXPECT_FLOAT_EQ(part[4], 0.2f);
  EXPECT_FLOAT_EQ(part[3], 0.95f);
  app->p_DoParticles(1);
  app->p_DoParticles(1);
  EXPECT_EQ(part[0], 0) << "freed once its alpha is gone";

  h.host.millis = 5000;
  app->p_ResetStars(100);
  std::vector<float> first(app->m_Stars.Data(), app->m_Stars.Data() + 1010);
  app->p_ResetStars(600);
  EXPECT_EQ(app->m_StarCount, 100);
  EXPECT_EQ(std::vector<float>(app->m_Stars.Data(), app->m_Stars.Data() + 1010), first);
}

}  // namespace
