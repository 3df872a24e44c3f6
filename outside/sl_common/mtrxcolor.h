#pragma once
// The colour set the host hands to every grid of the sales windows.

#include <QColor>

namespace sl {

struct MTRX_COLOR {
  QColor text = Qt::black;
  QColor background = Qt::white;
  QColor caption = Qt::black;             // caption row text
  QColor captionBackground = Qt::lightGray;
  QColor cursor = Qt::black;              // text of the current cell
  QColor cursorBackground = QColor(0xcc, 0xe8, 0xff);
  QColor grid = Qt::gray;                 // cell borders
  QColor disabledText = Qt::darkGray;     // cells shown but not entered
};

}  // namespace sl
