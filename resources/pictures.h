#pragma once
// The pictures of the program: its icon, the splash and the frame's
// backgrounds, drawn as SVG and rendered at the size asked for.

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>

namespace hv6 {

// Resource ids of the pictures.
enum PictureId : int {
  kIconPicture = 128,
  kSplashPicture = 140,
  kSpringPicture = 158,       // March to May
  kAutumnPicture = 163,       // September to November
  kSummerPicture = 165,       // June to August
  kWinterPicture = 166,       // December to February
  kSecondsZeroPicture = 167,  // the rare one: a rainbow
  kFestivalPicture2Aug = 176,
  kFestivalPicture3Aug = 177,
};

// The picture of resourceId at its natural size (size empty) or filling
// size: the proportions are kept and what sticks out is cut off evenly on
// both sides. An empty image for an unknown id.
QImage picture(int resourceId, QSize size = QSize());

// The natural size of the picture; an empty size for an unknown id.
QSize pictureSize(int resourceId);

// The program icon (picture 128) at the usual sizes; the smallest ones
// come from a drawing made for them.
QIcon programIcon();

// Every resource id that has a picture, in ascending order.
QList<int> pictureIds();

}  // namespace hv6
