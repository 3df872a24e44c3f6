#pragma once
// CEftDib: the three image effects of a picture, brightness (index 0),
// contrast (1) and sharpness (2), each a level from kMinLevel to kMaxLevel.
// The default level of each leaves the picture as it is.

#include <QImage>

#include <array>

class CEftDib {
 public:
  enum Effect { kBright = 0, kContrast = 1, kSharp = 2 };
  static constexpr int kEffectCount = 3;
  static constexpr long kMinLevel = -100;
  static constexpr long kMaxLevel = 100;

  // The default level of an effect (0 for every effect; 0 too for an index
  // outside 0-2).
  static long GetEftInitLevel(int index);
  // A level brought into kMinLevel-kMaxLevel.
  static long ClampLevel(long level);
  // True when every level is its default: Apply changes nothing.
  static bool IsNeutral(const std::array<long, 3>& levels);

  // The picture with the effects applied. Brightness shifts every channel by
  // up to half the range, contrast stretches around the middle grey (level
  // -100 gives flat grey, +100 three times the contrast), sharpness above 0
  // sharpens with an unsharp mask and below 0 softens with a blur.
  static QImage Apply(const QImage& image, const std::array<long, 3>& levels);
};
