// Badge medals (64 x 64): a ribbon rosette round a metal medal with an emblem.
// Each badge has its own design: the rosette's colour tells its group (numbers,
// expressions, lives, cards, scores, games, lists, dice), the metal how hard it
// is (bronze, silver, gold), the emblem what earns it.
#include <string>

#include "tools/art.h"
#include "tools/font.h"
#include "tools/shapes.h"

namespace art {

namespace {

const Vec2 kMedal{32, 28};

void ribbonTails(Pen& pen, Color c) {
  for (int side = -1; side <= 1; side += 2) {
    Path tail;
    float x = kMedal.x + side * 7.0f;
    tail.moveTo({x - 6, 36}).lineTo({x + 6, 36}).lineTo({x + 6 + side * 4.0f, 60}).lineTo({x + side * 4.0f, 55}).lineTo({x - 6 + side * 4.0f, 60});
    Look look;
    look.fill = Paint::linear({x - 6, 0}, {x + 6, 0}, lighter(c, 0.15f), darker(c, 0.2f));
    look.rimWidth = 1.1f;
    look.gloss = 0;
    drawSolid(pen, tail.transformed(Affine::about({x, 36}, Affine::rotate(side * 12.0f))), look);
  }
}

void rosette(Pen& pen, Color c) {
  Path frill = star(kMedal, 25, 21.5f, 18);
  Look look;
  look.fill = Paint::radial(kMedal, 26, lighter(c, 0.25f), c);
  look.rimWidth = 1.1f;
  look.gloss = 0.2f;
  drawSolid(pen, frill, look);
}

void medal(Pen& pen, Color metal) {
  Path disc = circle(kMedal, 17);
  Look look;
  look.fill = Paint::linear({18, 12}, {46, 46}, {{0, lighter(metal, 0.55f)}, {0.45f, metal}, {1, darker(metal, 0.3f)}});
  look.rimWidth = 1.2f;
  look.shadowOpacity = 0.35f;
  drawSolid(pen, disc, look);
  pen.paint(pen.shape(ring(kMedal, 14.5f, 13.3f)), darker(metal, 0.3f), 0.6f);
}

enum Emblem { kStar, kHeart, kDie, kBolt, kCrown, kText, kClover, kDiamond, kTick, kOperator,
              kAllOperators, kCard };

// An operator key's sign: 0 plus, 1 minus, 2 times, 3 divided by, `size` across.
void operatorSign(Figure& f, Vec2 c, int op, float size) {
  const float bar = size * 0.14f;
  if (op == 0 || op == 2) {
    const Affine turn = Affine::about(c, Affine::rotate(op == 2 ? 45.0f : 0.0f));
    f.fill(roundRectCentred(c, size, bar * 2, bar).transformed(turn));
    f.fill(roundRectCentred(c, bar * 2, size, bar).transformed(turn));
    return;
  }
  f.fill(roundRectCentred(c, size, bar * 2, bar));
  if (op == 3) {
    f.fill(circle({c.x, c.y - size * 0.34f}, bar * 1.3f));
    f.fill(circle({c.x, c.y + size * 0.34f}, bar * 1.3f));
  }
}

void emblem(Pen& pen, Emblem kind, int param, const char* text) {
  Figure f(pen, 1.0f);
  const Vec2 c = kMedal;
  switch (kind) {
    case kStar: f.fill(star(c, 10, 4.4f, 5), 0.4f); break;
    case kHeart: f.fill(heart({c.x, c.y + 0.5f}, 18)); break;
    case kDie: {
      f.fill(roundRectCentred(c, 16, 16, 3.5f));
      static const int pips[6][6][2] = {{{0, 0}}, {{-1, -1}, {1, 1}}, {{-1, -1}, {0, 0}, {1, 1}},
                                        {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}, {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}},
                                        {{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}}};
      const int face = (param + 5) % 6;
      for (int i = 0; i <= face; ++i) f.cutOut(circle({c.x + pips[face][i][0] * 4.2f, c.y + pips[face][i][1] * 4.2f}, 1.0f));
      break;
    }
    case kBolt: {
      Path bolt;
      bolt.moveTo({c.x + 2, c.y - 11}).lineTo({c.x - 6, c.y + 1.5f}).lineTo({c.x - 0.5f, c.y + 1.5f})
          .lineTo({c.x - 2.5f, c.y + 11}).lineTo({c.x + 6, c.y - 2}).lineTo({c.x + 0.5f, c.y - 2});
      f.fill(bolt, 0.3f);
      break;
    }
    case kCrown: {
      Path crown;
      crown.moveTo({c.x - 10, c.y + 6}).lineTo({c.x - 10, c.y - 6}).lineTo({c.x - 5, c.y - 1}).lineTo({c.x, c.y - 9})
          .lineTo({c.x + 5, c.y - 1}).lineTo({c.x + 10, c.y - 6}).lineTo({c.x + 10, c.y + 6});
      f.fill(crown, 0.6f);
      break;
    }
    case kText: {
      // Longer texts get smaller so that they stay inside the medal's inner ring.
      const std::string t = text;
      const float size = t.size() <= 1 ? 17.0f : t.size() == 2 ? 14.0f : t.size() == 3 ? 11.0f : 9.0f;
      Path digits = boldFont().text(t, {0, 0}, size, -0.5f);
      Path::Box b = digits.bounds();
      f.fill(digits.transformed(Affine::translate(c.x - b.centre().x, c.y - b.centre().y)), 0.2f);
      break;
    }
    case kClover:
      for (int i = 0; i < 4; ++i) {
        Affine turn = Affine::about(c, Affine::rotate(90.0f * i + 45));
        f.fill(circle({c.x, c.y - 5}, 4.6f).transformed(turn));
      }
      break;
    case kTick: {
      Path t;
      t.moveTo({c.x - 8, c.y}).lineTo({c.x - 2.5f, c.y + 6}).lineTo({c.x + 8.5f, c.y - 7});
      f.line(t, 2.4f);
      break;
    }
    case kOperator: operatorSign(f, c, param, 17); break;
    case kAllOperators:
      for (int op = 0; op < 4; ++op) operatorSign(f, {c.x + (op % 2 ? 5.5f : -5.5f), c.y + (op / 2 ? 5.5f : -5.5f)}, op, 8.5f);
      break;
    case kCard: {
      // A card of three rows by three columns; `param` cells lit from the left column.
      for (int cell = 0; cell < 9; ++cell) {
        const Vec2 at{c.x + (cell % 3 - 1) * 6.5f, c.y + (cell / 3 - 1) * 6.5f};
        if (cell % 3 < param) {
          f.fill(roundRectCentred(at, 5.5f, 5.5f, 1.2f));
        } else {
          f.line(roundRectCentred(at, 4.5f, 4.5f, 1.0f), 0.5f, true);
        }
      }
      break;
    }
    default:
      f.fill(polygon(c, 10.5f, 4), 0.6f);
      f.line(polygon(c, 5, 4), 0.5f, true);
      break;
  }
  f.draw(pen, Paint::linear({0, c.y - 10}, {0, c.y + 10}, pal::kWhite, rgb(228, 230, 244)), 0.5f);
}

enum Metal { kBronzeMetal, kSilverMetal, kGoldMetal };
enum Group { kNumbers, kExpressions, kLives, kCards, kScores, kGames, kLists, kDice };

struct Design {
  Emblem emblem;
  int param;
  const char* text;
  Metal metal;
  Group group;
};

// One design per badge id, in id order (the ids are game/badges.h's).
const Design kDesigns[64] = {
    {kTick, 0, "", kGoldMetal, kNumbers},  // the test badge
    // Numbers earned.
    {kStar, 0, "", kBronzeMetal, kNumbers},
    {kText, 0, "1", kBronzeMetal, kNumbers},
    {kText, 0, "90+", kSilverMetal, kNumbers},
    {kText, 0, "99", kGoldMetal, kNumbers},
    {kText, 0, "77", kSilverMetal, kNumbers},
    {kCard, 3, "", kSilverMetal, kNumbers},
    {kCard, 1, "", kBronzeMetal, kNumbers},
    // The shape of an expression.
    {kAllOperators, 0, "", kSilverMetal, kExpressions},
    {kOperator, 3, "", kBronzeMetal, kExpressions},
    {kOperator, 0, "", kBronzeMetal, kExpressions},
    {kOperator, 1, "", kGoldMetal, kExpressions},
    {kOperator, 2, "", kSilverMetal, kExpressions},
    {kOperator, 3, "", kGoldMetal, kExpressions},
    {kDie, 5, "", kGoldMetal, kExpressions},
    {kText, 0, "0", kSilverMetal, kExpressions},
    {kText, 0, "100", kSilverMetal, kExpressions},
    {kText, 0, "1-5", kSilverMetal, kExpressions},
    // Lives and streaks.
    {kHeart, 0, "", kBronzeMetal, kLives},
    {kHeart, 0, "", kGoldMetal, kLives},
    {kClover, 0, "", kBronzeMetal, kLives},
    {kBolt, 0, "", kBronzeMetal, kLives},
    {kBolt, 0, "", kSilverMetal, kLives},
    {kBolt, 0, "", kGoldMetal, kLives},
    // Cards filled, filled clean, several in one game.
    {kText, 0, "5", kBronzeMetal, kCards},
    {kText, 0, "10", kSilverMetal, kCards},
    {kText, 0, "15", kGoldMetal, kCards},
    {kTick, 0, "", kBronzeMetal, kCards},
    {kTick, 0, "", kSilverMetal, kCards},
    {kTick, 0, "", kGoldMetal, kCards},
    {kText, 0, "x2", kBronzeMetal, kCards},
    {kText, 0, "x3", kSilverMetal, kCards},
    {kText, 0, "x5", kGoldMetal, kCards},
    {kText, 0, "x10", kGoldMetal, kCards},
    // Scores per card type.
    {kText, 0, "500", kBronzeMetal, kScores},
    {kText, 0, "1K", kSilverMetal, kScores},
    {kText, 0, "2.5K", kGoldMetal, kScores},
    {kText, 0, "5K", kGoldMetal, kScores},
    {kText, 0, "500", kBronzeMetal, kScores},
    {kText, 0, "1K", kSilverMetal, kScores},
    {kText, 0, "2.5K", kGoldMetal, kScores},
    {kText, 0, "5K", kGoldMetal, kScores},
    {kText, 0, "500", kBronzeMetal, kScores},
    {kText, 0, "1K", kSilverMetal, kScores},
    {kText, 0, "2.5K", kGoldMetal, kScores},
    {kText, 0, "5K", kGoldMetal, kScores},
    // Games finished.
    {kStar, 0, "", kBronzeMetal, kGames},
    {kText, 0, "10", kBronzeMetal, kGames},
    {kText, 0, "50", kSilverMetal, kGames},
    {kText, 0, "100", kGoldMetal, kGames},
    {kDie, 5, "", kBronzeMetal, kGames},
    {kDie, 4, "", kBronzeMetal, kGames},
    {kDie, 3, "", kBronzeMetal, kGames},
    {kClover, 0, "", kSilverMetal, kGames},
    // The score lists.
    {kStar, 0, "", kGoldMetal, kLists},
    {kCrown, 0, "", kGoldMetal, kLists},
    {kBolt, 0, "", kSilverMetal, kLists},
    {kText, 0, "10", kSilverMetal, kLists},
    // Dice shapes, a perfect run, lifetime counts.
    {kDie, 2, "", kSilverMetal, kDice},
    {kDie, 6, "", kGoldMetal, kDice},
    {kDie, 1, "", kSilverMetal, kDice},
    {kDiamond, 0, "", kGoldMetal, kDice},
    {kText, 0, "250", kGoldMetal, kDice},
    {kCard, 3, "", kGoldMetal, kDice},
};

}  // namespace

void drawBadge(Pen& pen, int frame) {
  static const Color metals[3] = {pal::kBronze, pal::kSilver, pal::kGold};
  const Design& d = kDesigns[frame % 64];
  // The score badges tell their card type (5, 10, 15) by the tails: red, green, blue.
  static const int typeTails[3] = {0, 3, 5};
  const bool scores = frame >= 34 && frame <= 45;
  const Color tails = pal::kRainbow[scores ? typeTails[(frame - 34) / 4] : (d.group + 5) % 8];
  ribbonTails(pen, tails);
  rosette(pen, pal::kRainbow[d.group]);
  medal(pen, metals[d.metal]);
  emblem(pen, d.emblem, d.param, d.text);
}

}  // namespace art
