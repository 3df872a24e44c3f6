#include "outside/picview6/eftdib.h"

#include <algorithm>
#include <cmath>

namespace {

int clampChannel(double value) { return std::clamp(int(std::lround(value)), 0, 255); }

// One table per channel value: brightness, then contrast around 128.
std::array<uchar, 256> toneTable(long bright, long contrast) {
  const double shift = double(bright) * 1.28;
  const double factor =
      contrast >= 0 ? 1.0 + double(contrast) / 50.0 : 1.0 + double(contrast) / 100.0;
  std::array<uchar, 256> table{};
  for (int value = 0; value < 256; ++value)
    table[std::size_t(value)] = uchar(clampChannel((value + shift - 128.0) * factor + 128.0));
  return table;
}

// The 3x3 box blur of a pixel's neighbourhood, edges repeated.
QImage boxBlur(const QImage& image) {
  QImage out(image.size(), image.format());
  const int w = image.width(), h = image.height();
  for (int y = 0; y < h; ++y) {
    const QRgb* rows[3] = {reinterpret_cast<const QRgb*>(image.constScanLine(std::max(y - 1, 0))),
                           reinterpret_cast<const QRgb*>(image.constScanLine(y)),
                           reinterpret_cast<const QRgb*>(image.constScanLine(std::min(y + 1, h - 1)))};
    auto* target = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      int r = 0, g = 0, b = 0;
      for (const QRgb* row : rows) {
        for (int dx = -1; dx <= 1; ++dx) {
          const QRgb pixel = row[std::clamp(x + dx, 0, w - 1)];
          r += qRed(pixel), g += qGreen(pixel), b += qBlue(pixel);
        }
      }
      target[x] = qRgba(r / 9, g / 9, b / 9, qAlpha(rows[1][x]));
    }
  }
  return out;
}

}  // namespace

long CEftDib::GetEftInitLevel(int) { return 0; }

long CEftDib::ClampLevel(long level) { return std::clamp(level, kMinLevel, kMaxLevel); }

bool CEftDib::IsNeutral(const std::array<long, 3>& levels) {
  for (int index = 0; index < kEffectCount; ++index)
    if (ClampLevel(levels[std::size_t(index)]) != GetEftInitLevel(index)) return false;
  return true;
}

QImage CEftDib::Apply(const QImage& image, const std::array<long, 3>& levels) {
  if (image.isNull() || IsNeutral(levels)) return image;
  const long bright = ClampLevel(levels[kBright]);
  const long contrast = ClampLevel(levels[kContrast]);
  const long sharp = ClampLevel(levels[kSharp]);
  QImage out = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
  if (bright != 0 || contrast != 0) {
    const std::array<uchar, 256> table = toneTable(bright, contrast);
    for (int y = 0; y < out.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < out.width(); ++x) {
        const QRgb p = row[x];
        row[x] = qRgba(table[std::size_t(qRed(p))], table[std::size_t(qGreen(p))],
                       table[std::size_t(qBlue(p))], qAlpha(p));
      }
    }
  }
  if (sharp != 0) {
    const QImage blurred = boxBlur(out);
    // Above 0: the picture plus up to twice its difference from the blur;
    // below 0: a mix towards the blur.
    const double amount = sharp > 0 ? double(sharp) / 50.0 : double(sharp) / 100.0;
    for (int y = 0; y < out.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      const auto* soft = reinterpret_cast<const QRgb*>(blurred.constScanLine(y));
      for (int x = 0; x < out.width(); ++x) {
        const QRgb p = row[x], s = soft[x];
        row[x] = qRgba(clampChannel(qRed(p) + amount * (qRed(p) - qRed(s))),
                       clampChannel(qGreen(p) + amount * (qGreen(p) - qGreen(s))),
                       clampChannel(qBlue(p) + amount * (qBlue(p) - qBlue(s))), qAlpha(p));
      }
    }
  }
  return out;
}
