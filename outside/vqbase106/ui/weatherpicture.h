#pragma once
// Small pictures of the weather items (0 快晴 .. 9 雷雨), drawn with QPainter
// so they stay readable at about 16 px.

#include <QRectF>
#include <QString>

class QPainter;

namespace hv6 {

inline constexpr int kNoWeather = 255;

// Draws the picture of code into box; unknown codes draw a small "?".
void paintWeatherPicture(QPainter& painter, const QRectF& box, int code);
// The name of a weather code ("晴れ"), empty for 255 or an unknown code.
QString weatherName(int code);

}  // namespace hv6
