#pragma once
// The demo's photographs: pictures drawn here (fields, plants, machines,
// the snow on the houses) saved as JPEG files, and their PictureLink rows
// on the days of the work they show, two of them on some days.
//
// PictureLink.Path holds the absolute path of the picture, as the import
// stores a file the user chose. The pictures are written into a staging
// folder but the paths name their final place, so the demo must be
// generated where it stays (the environment copy takes the databases to
// the demo base folder; the paths keep pointing at the pictures here).

#include <QImage>
#include <QString>

#include "install/demo/season.h"

class CDaoDatabase;

namespace hv6::demo {

// The subfolder of the demo folder that holds the pictures.
inline const QString kPhotoFolderName = QStringLiteral("photos");

// The picture scenes the album shows.
enum Scene : int {
  kSceneSeedlingTrays,
  kSceneTransplanting,
  kScenePaddy,
  kSceneYoungTomato,
  kSceneRipeTomato,
  kSceneCucumber,
  kSceneTractor,
  kSceneSoybeans,
  kSceneCombine,
  kSceneGoldenPaddy,
  kSceneSnowHouse,
  kSceneEarlyPaddy,
};

// One picture of a scene; variant changes small details.
QImage drawScene(int scene, quint32 variant);

// Saves the pictures into stagingFolder/photos and writes their rows with
// paths below finalFolder. Throws DemoError or CDaoException.
void writePhotos(CDaoDatabase& db, const Season& season, quint32 seed, const QString& stagingFolder,
                 const QString& finalFolder);

}  // namespace hv6::demo
