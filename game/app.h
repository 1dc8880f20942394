// game/app.h: the game record, the one application object. Every screen and
// concern of the game is a group of its methods, one file each in game/.
//
// All game state lives in the fields below and in the rk_Game_ globals. The
// game draws only during its update, by appending 15-float records to the
// display list; the render hook replays that list fitted to the window.
#pragma once

#include <cmath>
#include <vector>

#include "audio/module.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "net/http_request.h"

// Marks an absent value or an optional argument left out (at or below it).
constexpr int kAbsent = -3717;

// Display-list record kinds besides image slots 0 to 99.
constexpr int kRecordRect = -3717;
constexpr int kRecordOval = -3716;
constexpr int kRecordLine = -3715;
constexpr int kRecordTri = -3714;
constexpr int kRecordFloats = 15;
// How a frame differs from the one drawn before it.
constexpr int kChangeNone = 0;
constexpr int kChangePart = 1;
constexpr int kChangeWhole = 2;
// Float 14 of a record names the screen element it belongs to, so a test can
// find each element in the list; drawing ignores it. Backgrounds and effects
// that may run past the edges are kTagNone.
enum DrawTag : int {
  kTagNone,
  kTagLoading,
  kTagLogo,
  kTagMedal,
  kTagDial,
  kTagDescription,
  kTagPlayButton,
  kTagScoreLists,
  kTagCredits,
  kTagDiscs,
  kTagStats,
  kTagCodedIn,
  kTagOptions,
  kTagGallery,
  kTagDice,
  kTagCard,
  kTagCalculator,
  kTagCalcDisplay,
  kTagCalcValue,
  kTagScoreLine,
  kTagPauseButton,
  kTagPauseMenu,
  kTagPaused,
  kTagGameOver,
  kTagRankBar,
  kTagRank,
  kTagPrompt,
  kTagBanner,
};
constexpr int kDrawListFloats = 37500;
// A writer refuses to append once the list holds more floats than this.
constexpr int kDrawListLimit = 37484;
// The card store's length. Pages of zeros never touched cost a desktop
// process nothing; a page's WebAssembly heap holds every byte (20 MB of a
// phone's memory), so there it has room for the entries used and no more.
#ifdef __EMSCRIPTEN__
constexpr int kGridEntries = 128;
#else
constexpr int kGridEntries = 5000000;
#endif
// Only these leading entries of the card store are ever written.
constexpr int kGridUsedEntries = 65;

// Action numbers of p_PlayKey (they are also the virtual pad's slots).
constexpr int kActionUp = 0;
constexpr int kActionLeft = 3;
constexpr int kActionRight = 5;
constexpr int kActionDown = 8;
constexpr int kActionFire = 10;
constexpr int kActionBack = 99;
constexpr int kPadBackHits = 19;
// Consoles keep an overscan margin (pixels, 1..96) in this setting.
constexpr int kOverscanSetting = 14;
constexpr int kMaxOverscan = 96;

// The game's angles are in degrees.
inline float SinDeg(float degrees) { return sinf(degrees * 0.017453292f); }
inline float CosDeg(float degrees) { return cosf(degrees * 0.017453292f); }

// Screens (m_Screen) that more than one file sends the game to.
constexpr int kScreenMenu = 1;
constexpr int kScreenStartGame = 11;

// Slots of the turn state m_Turn.
// Updates a finished card's bonus shows (1.5 s at the game's 60 a second).
constexpr int kBonusUpdates = 90;
constexpr int kTurnFace = 0;        // + die 1..5: the face shown
constexpr int kTurnRollTimer = 9;
constexpr int kTurnFinalFace = 10;  // + die: the face it rests on
constexpr int kTurnUsed = 20;       // + die: 1 while in the expression
constexpr int kTurnSlide = 30;      // + die: slide offset 0..96
constexpr int kTurnValue = 50;
constexpr int kTurnCount = 52;
constexpr int kTurnEntry = 60;      // + count: a face or an operator code
constexpr int kTurnSource = 80;     // + count: the die or operator button + 1
constexpr int kTurnLives = 99;
constexpr int kTurnCursor = 201;
constexpr int kTurnCursorStep = 202;
constexpr int kTurnHints = 204;
constexpr int kTurnSavedDie = 205;
constexpr int kTurnSavedOperator = 206;
constexpr int kTurnJudged = 207;
constexpr int kTurnHint = 209;      // + die 2..5: the operator button of the solution
// Image slots the screens draw from.
constexpr int kImageDice = 1;
constexpr int kImageGrid = 2;
constexpr int kImageCalc = 3;
constexpr int kImageIcons = 97;
constexpr int kImageButtons = 95;

// Screen layouts, chosen by the window's shape: the 4:3 design (its places
// kept on taller and wider screens), a tall one for phones held upright, a
// wide one for 16:9 and wider. Tall and wide draw text and touch targets
// large enough for a phone held that way.
constexpr int kLayoutClassic = 0;
constexpr int kLayoutTall = 1;
constexpr int kLayoutWide = 2;

// Where an element designed at the 640 x 480 places is drawn: its design
// point (x, y) lands at (offsetX + scale * x, offsetY + scale * y). Drawing
// and the pointer's hit tests both go through it.
struct Placement {
  float offsetX = 0;
  float offsetY = 0;
  float scale = 1;
};

// A pointer hit area tested in this update, in virtual units.
struct HitArea {
  float x0, y0, x1, y1;
};

// The parts of the play that a layout places on their own.
constexpr int kPlayPause = 0;
constexpr int kPlayTopLine = 1;
constexpr int kPlayDice = 2;
constexpr int kPlayCard = 3;
constexpr int kPlayCalculator = 4;

// The banner id of the host's notice about saving.
constexpr int kNoticeBanner = -1;

// Something a touch picks: where it is drawn (centre and half sizes) and
// whether it can be picked now.
struct PickTarget {
  float x, y, halfW, halfH;
  bool open;
};

// A finished game as the score lists record it.
struct RecordedGame {
  int cardType;
  int score;
};

class c_MyApp : public c_App, public virtual c_IOnHttpRequestComplete {
 public:
  int m_InputKind = 0;
  int m_Fullscreen = 0;
  int m_LogoSoundPlayed = 0;
  int m_MenuSel = 0;
  float m_DialAngle = 0;
  String m_HttpResponse = String("N/A");
  c_HttpRequest* m_HttpRequest = nullptr;
  int m_HttpDone = 0;
  int m_Screen = 0;
  int m_LastDevWidth = 0;
  int m_LastDevHeight = 0;
  float m_AccelCalX = 0;
  float m_AccelCalY = 0;
  float m_ClearRed = 0;
  float m_ClearGreen = 0;
  float m_ClearBlue = 0;
  float m_ClearAlpha = 0;
  int m_HdLevel = 0;
  float m_HdScale = 0;
  // The level each slot's picture was loaded at, and its design units per
  // pixel: after a resize a slot keeps drawing its old picture, scaled, until
  // the file of the new level has been read.
  int m_ImageLevel[100] = {};
  float m_ImageScale[100] = {};
  // 1 once the first load is done: later reloads run behind the screens.
  int m_ArtLoaded = 0;
  // 1 while data the host fetches after the menu shows (a page's) is on its
  // way: the slots and sounds it fills are loaded once it is in, and a game
  // asked for meanwhile (m_PlayAsked) starts then.
  int m_AwaitingData = 0;
  int m_PlayAsked = 0;
  // Whether the textures held are a game's (1) or the menu's (0): a change
  // between the two lets go of them all (see p_ScreenDispatch).
  int m_ArtOfGame = 0;
  // Counts image slots loaded or reserved, so a render can tell new pictures.
  int m_ImageChanges = 0;
  // What the last drawn frame was made of (its fit, clear, images and display
  // list), to leave an unchanged frame on screen instead of drawing it again.
  std::vector<float> m_DrawnFrame;
  // What each of the last frames presented changed, newest first: the
  // window box (left, top, right, bottom), an empty one for none, or the
  // whole window; to bring a back buffer some frames old up to date.
  static constexpr int kChangeHistory = 4;
  int m_RecentChanges[kChangeHistory][5] = {};
  int m_RecentCount = 0;
  // Frames drawn in part (or kept) that the frame check compared, and those that differed.
  int m_FramesChecked = 0;
  int m_FramesDiffering = 0;
  Array<c_Image*> m_Images;
  Array<int> m_ImageInfo;
  int m_FontSlot = 0;
  int m_LoadStep = 0;
  int m_CardType = 0;
  int m_MenuSlide = 0;
  int m_Paused = 0;
  int m_PauseState = 0;
  int m_PauseSlide = 0;
  int m_Loop = 0;
  Array<int> m_BadgeQueueId;
  Array<int> m_BadgeQueueTime;
  Array<bool> m_BadgeFlags;
  // A badge was awarded in this update and is not yet in the state file.
  int m_BadgesUnsaved = 0;
  // 1 once the saved state has been read: nothing is saved before that.
  int m_StateLoaded = 0;
  // The state as this copy last read or stored it, and its own state at that
  // moment; with the games recorded since, they tell what this copy added
  // when another copy has stored a state meanwhile (persistence.cpp).
  String m_StoredText;
  String m_BaseState;
  std::vector<RecordedGame> m_UnsavedGames;
  // The host's last line about saving, shown in a banner of its own.
  String m_StateNotice;
  Array<int> m_Pad;
  Array<int> m_Settings;
  Array<int> m_HiScores;
  Array<int> m_Channels;
  int m_RenderLastMs = 0;
  int m_RenderFps = 0;
  int m_RenderFpsAvg = 0;
  float m_ScaleX = 0;
  float m_ScaleY = 0;
  int m_FitMode = 0;
  int m_Landscape = 0;
  int m_Layout = kLayoutClassic;
  // Where the records written now are placed (p_Place).
  Placement m_Place;
  // Every hit area the screens tested in this update, for the layout checks
  // and the debug overlay.
  std::vector<HitArea> m_HitAreas;
  int m_DrawLen = 0;
  Array<float> m_DrawList;
  int m_LastChar = 0;
  int m_Pinching = 0;
  int m_HideHud = 0;
  int m_MusicOn = 0;
  int m_UpdateLastMs = 0;
  int m_UpdateFps = 0;
  int m_UpdateFpsAvg = 0;
  int m_MouseX = 0;
  int m_MouseOldX = 0;
  int m_MouseY = 0;
  int m_MouseOldY = 0;
  int m_MouseWasDown = 0;
  int m_PointerDown = 0;
  int m_MouseHit = 0;
  Array<int> m_TouchOn;
  Array<int> m_TouchX;
  Array<int> m_TouchY;
  int m_PointerLock = 0;
  int m_Cooldown = 0;
  int m_KeyLock = 0;
  int m_MenuPanelOpen = 0;
  int m_OptionsOpen = 0;
  int m_SidePanelOpen = 0;
  float m_BgTargetRed = 0;
  float m_BgTargetGreen = 0;
  float m_BgTargetBlue = 0;
  float m_BgRed = 0;
  float m_BgGreen = 0;
  float m_BgBlue = 0;
  int m_ViewX = 0;
  int m_ViewY = 0;
  float m_ViewW = 0;
  float m_ViewH = 0;
  float m_DrawScaleX = 0;
  float m_DrawScaleY = 0;
  float m_DrawRot = 0;
  float m_DrawRed = 0;
  float m_DrawGreen = 0;
  float m_DrawBlue = 0;
  float m_DrawAlpha = 0;
  int m_DrawBlend = 0;
  float m_SidePanelSlide = 0;
  float m_PanelWidth = 0;
  int m_DialTapped = 0;
  int m_MenuFocus = 1;
  Array<c_Sound*> m_Sounds;
  int m_SfxChannel = 0;
  int m_TableBase = 0;
  float m_DialSpin = 0;
  float m_DialShown = 0;
  // The dial under a held pointer (menu.cpp): 0 loose, 1 pressed, 2 turning
  // with the pointer; its turn in each of the last updates, for the release.
  int m_DialGrip = 0;
  float m_DialSteps[4] = {};
  int m_LayoutY = 0;
  int m_LayoutX = 0;
  float m_GearAngle = 0;
  int m_DragX = 0;
  int m_DragY = 0;
  int m_PinchNew = 0;
  int m_Scratch = 0;
  Array<float> m_Turn;
  float m_CreditScroll = 0;
  int m_CreditLine = 0;
  int m_Score = 0;
  int m_SpinAngle = 0;
  float m_ShakeX = 0;
  float m_ShakeTargetX = 0;
  float m_ShakeY = 0;
  float m_ShakeTargetY = 0;
  float m_AnalogX = 0;
  float m_AnalogY = 0;
  float m_KeyAxisY = 0;
  float m_KeyAxisX = 0;
  int m_PinchOld = 0;
  Array<float> m_Grid;
  int m_GameOver = 0;
  int m_PartCount = 250;
  Array<float> m_Parts;
  int m_ShownScore = 0;
  int m_PauseSel = 0;
  int m_HitResult = 0;
  float m_ToyAngleA = 0;
  float m_ToyAngleB = 0;
  float m_ToySpin = 25.0f;
  float m_ToyHue = 0;
  float m_ToyArm = 25.0f;
  Array<float> m_ToyTrail;
  // 0 until the trail has been filled for the pause under way (pause.cpp).
  int m_ToyTrailLive = 0;
  int m_QuitGame = 0;
  String m_CurrentTune;
  int m_StarCount = 100;
  Array<float> m_Stars;
  int m_OverTimer = 0;
  int m_OptionsSlide = 0;
  int m_BoxKeyLock = 0;
  int m_BoxPointerLock = 0;
  int m_OptionCursor = 0;
  int m_ReservedSlot = 0;
  int m_DpadX = 0;
  int m_DpadY = 0;
  float m_DpadScale = 0;
  float m_TiltX = 0;
  float m_TiltY = 0;
  float m_TiltSmoothX = 0;
  float m_TiltSmoothY = 0;
  int m_BadgeWidth = 0;
  // The place the finished game's score is recorded at (1..10, 0 for none),
  // taken while the overlay runs over the game and kept over the menu.
  int m_OverRank = 0;
  // Badge bookkeeping of the current game and card (awards.cpp).
  int m_CardLivesLost = 0;
  int m_GameCardsDone = 0;
  int m_GameNumbersEarned = 0;
  int m_NumberStreak = 0;
  // The clock reading of the last award chime (awards.cpp).
  int m_ChimedAt = -1;
  // 1 once the expression took an entry in this update (dice.cpp).
  int m_PickedThisUpdate = 0;
  // The die whose step was just taken back (1..5, 0 for none) and the
  // updates it still shakes for (dice.cpp).
  int m_RefusedDie = 0;
  int m_RefusedShake = 0;
  // Updates the bonus of a finished card still rises over the new one (card.cpp).
  int m_BonusShown = 0;
  // Where the menu leaves room for banners, clear of all it shows: left,
  // top, right and bottom in virtual units, set as it draws (menu.cpp).
  float m_BannerRoom[4] = {0, 0, 0, 0};
  // The element the records written now belong to (a DrawTag).
  int m_DrawTag = kTagNone;
  // The badge gallery (gallery.cpp): open flag, slide 0..30, the focused
  // medal's index (id - 1), the grid's scroll in virtual units, its own locks.
  int m_GalleryOpen = 0;
  int m_GallerySlide = 0;
  int m_GalleryFocus = 0;
  float m_GalleryScroll = 0;
  int m_GalleryKeyLock = 0;
  int m_GalleryPointerLock = 0;
  // Scratch for the replay of a triangle record, so rendering allocates nothing.
  Array<float> m_PolyPoints;

  // Registers the record as the application; allocates every array once.
  c_MyApp* m_new();
  void mark() override;

  // Host hooks (frame.cpp, render.cpp).
  int p_OnCreate() override;
  int p_OnUpdate() override;
  int p_OnRender() override;
  int p_OnSuspend() override;
  int p_OnResume() override;
  int p_OnEnd() override;

  // Asset loader and loading screen (loader.cpp).
  int p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                int flags);
  int p_LoadFont(int slot, String name, int advance, int lineHeight);
  int p_ReserveImg(int slot, int width, int height);
  // Empties a slot, releasing its picture's texture and pixels at once.
  int p_FreeImg(int slot);
  int p_ChooseHdLevel();
  // True when a picture in some slot is not at the level the window needs.
  bool p_ArtBehindLevel() const;
  // Loads again each slot whose file, read again at its first draw, no
  // longer gave its picture.
  void p_ReloadChangedArt();
  // Once the data fetched after the menu is in, a reload behind the screens
  // fills what was missing; true while a game must still wait for it.
  bool p_AwaitData();
  void p_HoldGameForData();
  int p_Reload();
  int p_Loader();
  // The studio logo shows only while loading; its picture goes once play begins.
  void p_DropLoadingArt();
  int p_WaitStart(int mode);

  // Display-list writers, draw state, hit tests (draw.cpp).
  int p_CLS2D(float r, float g, float b, float a);
  int p_ResetDraw();
  int p_SetSize(float sx, float sy);
  // Places what is drawn and hit-tested next (see Placement); p_Unplace
  // returns to the design places.
  void p_Place(float offsetX, float offsetY, float scale);
  void p_Unplace() { m_Place = Placement(); }
  void p_Place(const Placement& place) { m_Place = place; }
  // The least side of a hit area and the least text size (in font cells)
  // the layout needs for fingers and eyes on a phone; 0 in the 4:3 design.
  float p_FingerSize() const;
  float p_LeastTextSize() const;
  int p_SetRot(float degrees);
  int p_SetCol(float r, float g, float b, float a);
  int p_Alpha(float a);
  int p_Ink(int hue, float brightness);
  int p_DrawImg(int slot, float x, float y, float frame);
  int p_Rect(float x, float y, float w, float h);
  int p_Oval(float cx, float cy, float rx, float ry);
  int p_Line(float x1, float y1, float x2, float y2);
  int p_Tri(float x1, float y1, float x2, float y2, float x3, float y3);
  int p_Button(int slot, float x, float y, int frame);
  int p_Button0(int slot, float x, float y, int frame);
  int p_Touch(float x, float y, float w, float h);
  int p_MouseIn(float x, float y, float w, float h);
  int p_MouseIn_Centered(float cx, float cy, float w, float h);
  int p_MouseIn_Radius(float cx, float cy, float w, float h);
  // Half the width (axis 0) or height (axis 1) of a frame of the image in
  // `slot` as drawn at the current size.
  float p_HalfFrame(int slot, int axis) const;
  // Which target a touch lands on, or -1 (draw.cpp).
  int p_TouchedTarget(const PickTarget* targets, int count);
  String p_rstr(int value, int width, String pad);
  // Text in the bitmap font (text.cpp).
  int p_Text(float x, float y, String text, float hAlign, float vAlign, int fontOffset);

  // Random source (random.cpp).
  int p_Rand(int low, int high);
  int p_Rand(int high) { return p_Rand(1, high); }
  int p_SeedRnd(int value);

  // Background, particles and stars (background.cpp).
  int p_DoBG(int red, int green, int blue, float alpha);
  int p_DoParticles(float scale);
  int p_ResetParticles(int count);
  int p_ResetStars(int count);

  // Controller glue (controls.cpp), on-screen pad and tilt (touch_controls.cpp),
  // quit prompt (quit_prompt.cpp).
  int p_PlayKey(int action, int mode, int player);
  int p_PlayKeyAll(int action, int mode);
  float p_StickX(int stick, int player);
  float p_StickY(int stick, int player);
  int p_iCade(int on);
  int p_DecodeICade(int character);
  int p_FullscreenFlip();
  int p_AnalogueControl();
  int p_OnScreenControls();
  int p_TiltControl();
  int p_OuyaQuit();

  // Sound effects and music (sound.cpp).
  int p_LoadSFX(int n);
  int p_PlaySFX(int n, float rate, float volume, float pan);
  int p_PlayTune(String name, int loop);
  int p_StopTune();

  // Usage ping (ping.cpp).
  int p_GetURL(String url, String query);
  int p_OnHttpRequestComplete(c_HttpRequest* request) override;

  // Saved settings, badges and scores (persistence.cpp).
  int p_Save();
  int p_Load();
  String p_StateString();

  // The bingo card (card.cpp).
  int p_FreshCard();
  int p_ResetGrid();
  int p_DrawCard();

  // The dice: the roll, the solution search, drawing and picking (dice.cpp).
  int p_Rolling();
  int p_SearchSolution();
  int p_DoDice();
  int p_PickEntry(int source, float entry);
  int p_TouchPick();

  // Turns and scoring (game.cpp), the calculator (calculator.cpp).
  int p_LoadGame();
  int p_Game();
  // The play's band, 480 high and centred on a taller screen: its top and bottom.
  float p_PlayTop() const;
  float p_PlayBottom() const;
  // Where a part of the play (kPlay...) is drawn in the current layout; the
  // top of the banners' band in the tall layout.
  Placement p_PlayPlacement(int part) const;
  float p_TallBandTop() const;
  int p_InGame();
  int p_DoCalculator();
  float p_EvaluateExpression();
  int p_JudgeExpression(float value);
  int p_ShowValue(float value);
  int p_CursorKeys();

  // Score line, game-over overlay and the score lists (scores.cpp).
  int p_ScoreDisplay();
  int p_GameOver();
  String p_MyNth();
  String p_Nth(int n);
  int p_LoadMenu();
  // The place 1..10 the finished game's score is recorded at, 0 for none.
  int p_RecordPlace();
  // Shows the host's line about saving in a banner, once loading is done.
  int p_ShowStateNotice();

  // Pause menu (pause.cpp).
  int p_PauseMenu();

  // Main menu with its dial, score lists and panel (menu.cpp, menu_panel.cpp).
  int p_Menu();

  // Options box (options.cpp).
  int p_OptionBox();
  // Keeps the overscan setting within 1..96 and makes it the margin in use.
  int p_ApplyOverscan();

  // Badge gallery (gallery.cpp).
  int p_Gallery();

  // Achievements: awarding a badge and the game events that can earn one (awards.cpp).
  int p_AwardBadge(int id);
  int p_OnExpressionJudged(int matched);
  int p_OnCardCompleted();
  // `place`: where the score entered its top-ten list (1..10), 0 for none.
  int p_OnGameRecorded(int place);

  // Badge table and banners (badges.cpp).
  String p_BadgeID(int id);
  String p_BadgeName(int id);
  String p_BadgeDetail(int id);
  int p_ShowBadges();
  // Queues a banner for a badge, or kNoticeBanner for m_StateNotice; false when all slots are taken.
  bool p_QueueBanner(int id);
  int p_GC_Badges() { return 0; }
  int p_GC_PostScore(int score, int board) { return 0; }

 private:
  // Appends one record with the current colour, alpha and blend; false when full.
  float* p_AppendRecord(float kind);
  int p_ScreenDispatch();
  int p_UpdateInputLocks();
  int p_MapPointer();
  int p_ReplayDrawList();
  void p_DrawFrame(gxtkGraphics* device, int devWidth, int devHeight);
  void p_CheckFrame(gxtkGraphics* device, int devWidth, int devHeight);
  // How this render's frame differs from the last one drawn (and remembers
  // it): kChangeNone, kChangeWhole, or kChangePart with the window pixels
  // left, top, right, bottom that can differ in `area`.
  int p_FrameChange(int devWidth, int devHeight, int* area);
  // Records what the frame about to be presented changes (a p_FrameChange answer).
  void p_NoteChange(int change, const int* area);
  // What to draw over a back buffer `age` frames old: kChangeNone, kChangeWhole,
  // or kChangePart with the union of the recorded boxes of those frames in `area`.
  int p_RedrawArea(int age, int devWidth, int devHeight, int* area) const;
  static void MeasureRate(int* lastMs, int* fps, int* average);
};

// Module globals of the game (globals.cpp).
extern int rk_Game_isOuya;
extern float rk_Game_overscan;
extern int rk_Game_J_On_Allow;
extern int rk_Game_J_On_Able;
extern int rk_Game_GameNum;
extern int rk_Game_UseHDImages;
extern int rk_Game_DebugMode;
extern float rk_Game_rawscrw;
extern float rk_Game_rawscrh;
extern float rk_Game_jscrw;
extern float rk_Game_jscrh;
extern int rk_Game_iCadeControls;
extern int rk_Game_HasMusicStream;
extern Array<String> rk_Game_MenuSet;
extern Array<String> rk_Game_CreditText;
extern int rk_Game_FadeOutStyle;
extern int rk_Game_OnScreenControls;
extern int rk_Game_AccelerometerControls;
// The statistics endpoint of the usage ping.
extern String rk_Game_PingEndpoint;

// Enters a finished game's score in the top-ten and last-ten lists of its
// card type (1..3) in `scores`; the place 1..10 it took in the top ten, 0 for none.
int RecordScore(Array<int>& scores, int cardType, int score);

// The random source shared by cards, dice and background (random.cpp).
extern unsigned int rk_random_Seed;
float rk_random_Rnd();
float rk_random_Rnd2(float low, float high);
float rk_random_Rnd3(float range);

// The game's start values, in the three groups the program's start-up order
// places them (globals.cpp), and the game's collector roots.
void rk_Game_InitGlobals1();
void rk_Game_InitGlobals2();
void rk_Game_InitRandom();
void rk_Game_InitGlobals3();
void rk_Game_AddRoots();
// The 84 lines of the credits scroller (credits.cpp).
Array<String> rk_Game_Credits();
