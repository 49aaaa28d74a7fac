#pragma once
// Twips are the model unit of every position and size: 15 to a logical pixel.
namespace tb {

constexpr int kTwipsPerPixel = 15;
inline double twipsToPx(double t) { return t / kTwipsPerPixel; }
inline double pxToTwips(double p) { return p * kTwipsPerPixel; }

} // namespace tb
