// The house palette: one set of bright colours and one ink shared by every image.
#pragma once
#include "tools/canvas.h"

namespace art::pal {

inline const Color kInk = rgb(38, 28, 74);        // outlines
inline const Color kShadow = rgb(16, 10, 48);     // drop shadows
inline const Color kWhite = rgb(255, 255, 255);
inline const Color kRed = rgb(255, 82, 96);
inline const Color kOrange = rgb(255, 150, 48);
inline const Color kYellow = rgb(255, 214, 60);
inline const Color kGreen = rgb(88, 214, 96);
inline const Color kTeal = rgb(38, 204, 196);
inline const Color kBlue = rgb(62, 146, 255);
inline const Color kPurple = rgb(150, 92, 236);
inline const Color kPink = rgb(255, 96, 184);
inline const Color kGold = rgb(255, 196, 40);
inline const Color kSilver = rgb(206, 214, 232);
inline const Color kBronze = rgb(222, 140, 80);

// The eight bright hues in rainbow order, for things that come in sets.
inline const Color kRainbow[8] = {kRed, kOrange, kYellow, kGreen, kTeal, kBlue, kPurple, kPink};

}  // namespace art::pal
