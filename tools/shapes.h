// Path builders for the basic shapes the art is made of.
#pragma once
#include "tools/geometry.h"

namespace art {

Path circle(Vec2 centre, float radius);
Path ellipse(Vec2 centre, float rx, float ry);
Path rect(float x, float y, float w, float h);
Path roundRect(float x, float y, float w, float h, float radius);
Path roundRectCentred(Vec2 centre, float w, float h, float radius);
// Closed ring between two radii (the inner circle runs the other way).
Path ring(Vec2 centre, float outer, float inner);
// Regular polygon with its first corner straight up.
Path polygon(Vec2 centre, float radius, int corners, float turnDegrees = 0);
// Star with `points` tips, first tip straight up.
Path star(Vec2 centre, float outer, float inner, int points, float turnDegrees = 0);
Path heart(Vec2 centre, float size);
// Gear outline with rounded-ish trapezoid teeth; hole is a separate ring if wanted.
Path gear(Vec2 centre, float outer, float root, int teeth, float turnDegrees = 0);
Path triangle(Vec2 a, Vec2 b, Vec2 c);
// Thick straight bar with round ends.
Path capsule(Vec2 a, Vec2 b, float radius);
// Isosceles arrow head pointing along `dirDegrees` (0 = up, clockwise).
Path arrowHead(Vec2 tip, float length, float width, float dirDegrees);

}  // namespace art
