#include "install/demo/photos.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <map>

#include "install/demo/random.h"
#include "install/demo/rows.h"
#include "platform/codec.h"
#include "platform/dao/database.h"

namespace hv6::demo {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kJpegQuality = 85;
constexpr int kMaxPathBytes = 255;  // what a picture record holds

void fillSky(QPainter& p, int horizon, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(0, 0, 0, horizon);
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  p.fillRect(QRect(0, 0, kWidth, horizon), gradient);
}

void fillGround(QPainter& p, int horizon, const QColor& far, const QColor& near) {
  QLinearGradient gradient(0, horizon, 0, kHeight);
  gradient.setColorAt(0, far);
  gradient.setColorAt(1, near);
  p.fillRect(QRect(0, horizon, kWidth, kHeight - horizon), gradient);
}

void drawRidge(QPainter& p, int horizon, double height, double phase, const QColor& color) {
  QPainterPath ridge(QPointF(0, horizon));
  for (int x = 0; x <= kWidth; x += 20) {
    const double wave =
        0.55 + 0.3 * std::sin(x * 0.011 + phase) + 0.15 * std::sin(x * 0.037 + phase * 2);
    ridge.lineTo(x, horizon - height * wave);
  }
  ridge.lineTo(kWidth, horizon);
  ridge.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPath(ridge);
}

void drawMountains(QPainter& p, int horizon, DemoRandom& random, const QColor& far,
                   const QColor& near) {
  drawRidge(p, horizon, 110, random.unit() * 6.0, far);
  drawRidge(p, horizon, 60, random.unit() * 6.0, near);
}

void drawSun(QPainter& p, const QPointF& centre, double radius, const QColor& color) {
  QRadialGradient glow(centre, radius * 2.5);
  glow.setColorAt(0, QColor(255, 255, 240, 200));
  glow.setColorAt(1, QColor(255, 255, 240, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(centre, radius * 2.5, radius * 2.5);
  p.setBrush(color);
  p.drawEllipse(centre, radius, radius);
}

// Plants along furrows that meet at the middle of the horizon.
template <class Plant>
void drawRows(QPainter& p, int horizon, int rows, int perRow, double spacing, Plant plant) {
  const double depthRange = kHeight - horizon;
  for (int k = 1; k <= perRow; ++k) {
    const double t = static_cast<double>(k) / perRow;
    const double depth = t * t;
    const double y = horizon + depthRange * depth;
    for (int i = -rows; i <= rows; ++i)
      plant(p, QPointF(kWidth / 2.0 + i * spacing * (0.04 + depth), y), 0.2 + depth);
  }
}

void drawTuft(QPainter& p, const QPointF& base, double scale, const QColor& color, double height) {
  p.setPen(QPen(color, 1.6 * scale, Qt::SolidLine, Qt::RoundCap));
  const double h = height * scale;
  p.drawLine(base, base + QPointF(-0.35 * h, -0.8 * h));
  p.drawLine(base, base + QPointF(0, -h));
  p.drawLine(base, base + QPointF(0.35 * h, -0.8 * h));
}

void drawWater(QPainter& p, int horizon) {
  fillGround(p, horizon, QColor(190, 214, 228), QColor(96, 140, 166));
  p.setPen(QPen(QColor(230, 240, 248, 120), 2));
  for (int y = horizon + 12; y < kHeight; y += 26) p.drawLine(40 + y % 90, y, 260 + y % 130, y);
}

void drawWheel(QPainter& p, const QPointF& centre, double radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(38, 38, 40));
  p.drawEllipse(centre, radius, radius);
  p.setBrush(QColor(200, 190, 60));
  p.drawEllipse(centre, radius * 0.4, radius * 0.4);
}

// A tractor seen from the side, facing right, standing on ground.
void drawTractor(QPainter& p, const QPointF& ground, double s, const QColor& body) {
  const double x = ground.x();
  const double y = ground.y();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(50, 50, 55));
  p.drawRect(QRectF(x + 148 * s, y - 160 * s, 8 * s, 50 * s));  // exhaust
  p.setBrush(body);
  p.drawRoundedRect(QRectF(x + 55 * s, y - 112 * s, 175 * s, 52 * s), 10 * s, 10 * s);
  p.setBrush(QColor(170, 215, 235, 170));
  p.drawRect(QRectF(x + 10 * s, y - 200 * s, 85 * s, 100 * s));
  p.setPen(QPen(QColor(45, 45, 50), 5 * s));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(x + 10 * s, y - 200 * s, 85 * s, 100 * s));
  p.setPen(Qt::NoPen);
  p.setBrush(body.darker(130));
  p.drawRect(QRectF(x + 2 * s, y - 210 * s, 102 * s, 14 * s));  // roof
  drawWheel(p, QPointF(x + 40 * s, y - 55 * s), 55 * s);
  drawWheel(p, QPointF(x + 195 * s, y - 30 * s), 30 * s);
}

// A combine harvester on crawlers, facing right, with its reaper.
void drawCombine(QPainter& p, const QPointF& ground, double s, const QColor& body) {
  const double x = ground.x();
  const double y = ground.y();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 40, 44));
  p.drawRoundedRect(QRectF(x, y - 42 * s, 250 * s, 42 * s), 20 * s, 20 * s);
  p.setBrush(QColor(90, 90, 96));
  for (int i = 0; i < 5; ++i)
    p.drawEllipse(QPointF(x + (30 + 48 * i) * s, y - 21 * s), 12 * s, 12 * s);
  p.setBrush(body);
  p.drawRect(QRectF(x + 15 * s, y - 150 * s, 175 * s, 108 * s));
  p.setBrush(body.lighter(120));
  p.drawRect(QRectF(x + 25 * s, y - 185 * s, 110 * s, 35 * s));  // grain tank
  p.drawRect(QRectF(x + 180 * s, y - 125 * s, 80 * s, 83 * s));  // under the cabin
  p.setBrush(QColor(170, 215, 235, 190));
  p.drawRect(QRectF(x + 185 * s, y - 200 * s, 70 * s, 75 * s));
  p.setBrush(body.darker(120));
  p.drawRect(QRectF(x + 180 * s, y - 210 * s, 80 * s, 12 * s));
  QPolygonF reaper;
  reaper << QPointF(x + 250 * s, y - 70 * s) << QPointF(x + 330 * s, y - 30 * s)
         << QPointF(x + 330 * s, y - 8 * s) << QPointF(x + 250 * s, y - 20 * s);
  p.setBrush(QColor(230, 190, 40));
  p.drawPolygon(reaper);
}

void drawTomatoPlant(QPainter& p, const QPointF& base, double height, int fruits,
                     DemoRandom& random) {
  p.setPen(QPen(QColor(150, 115, 70), 5));
  p.drawLine(base + QPointF(14, 0), base + QPointF(14, -height - 20));  // stake
  QPainterPath stem(base);
  for (double h = 0; h <= height; h += 30)
    stem.lineTo(base.x() + 6 * std::sin(h / 25), base.y() - h);
  p.setPen(QPen(QColor(60, 120, 50), 6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(stem);
  p.setPen(Qt::NoPen);
  for (double h = 30; h <= height; h += 38) {
    const double side = std::fmod(h, 76.0) < 38 ? -1 : 1;
    p.setBrush(QColor(70 + random.between(0, 30), 140 + random.between(0, 30), 60));
    p.drawEllipse(QPointF(base.x() + side * 34, base.y() - h), 32, 14);
  }
  for (int i = 0; i < fruits; ++i) {
    const QPointF centre(base.x() + random.between(-40, 40),
                         base.y() - 25 - random.between(0, int(height * 0.6)));
    const int ripe = random.between(0, 2);
    p.setBrush(ripe == 0   ? QColor(110, 170, 70)
               : ripe == 1 ? QColor(235, 120, 40)
                           : QColor(215, 40, 35));
    p.drawEllipse(centre, 17, 15);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(centre + QPointF(-6, -6), 5, 3);
  }
}

void drawHouseInside(QPainter& p) {
  fillSky(p, kHeight, QColor(226, 236, 238), QColor(206, 222, 214));
  p.setPen(QPen(QColor(250, 250, 250, 160), 3));
  for (int x = -200; x < kWidth + 200; x += 80) p.drawLine(kWidth / 2, -200, x, kHeight);
  fillGround(p, 380, QColor(120, 90, 60), QColor(90, 66, 44));
}

void sceneSeedlingTrays(QPainter& p, DemoRandom& random) {
  drawHouseInside(p);
  fillGround(p, 200, QColor(150, 120, 86), QColor(110, 84, 58));
  for (int row = 0; row < 5; ++row) {
    const double y = 215 + row * row * 11 + row * 22;
    const double w = 70 + row * 16;
    for (double x = 10 + row * 4; x + w < kWidth; x += w + 8) {
      p.setPen(QPen(QColor(60, 45, 30), 2));
      p.setBrush(QColor(80 + random.between(0, 25), 160 + random.between(0, 30), 70));
      p.drawRect(QRectF(x, y, w, 18 + row * 9));
    }
  }
}

void sceneTransplanting(QPainter& p, DemoRandom& random) {
  fillSky(p, 210, QColor(120, 175, 230), QColor(215, 232, 245));
  drawSun(p, QPointF(520, 70), 26, QColor(255, 248, 220));
  drawMountains(p, 210, random, QColor(120, 150, 170), QColor(80, 120, 90));
  drawWater(p, 210);
  drawRows(p, 210, 9, 14, 120, [](QPainter& q, const QPointF& at, double s) {
    if (at.x() > 300) return;  // not planted yet on the right
    drawTuft(q, at, s, QColor(70, 150, 60), 22);
  });
  drawTractor(p, QPointF(300, 420), 0.9, QColor(220, 70, 50));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(90, 165, 70));
  p.drawRect(QRectF(250, 300, 60, 70));  // the seedling trays on the back
}

void scenePaddy(QPainter& p, DemoRandom& random) {
  fillSky(p, 220, QColor(110, 170, 230), QColor(220, 236, 248));
  drawMountains(p, 220, random, QColor(130, 155, 175), QColor(90, 130, 100));
  drawWater(p, 220);
  drawRows(p, 220, 10, 16, 110, [](QPainter& q, const QPointF& at, double s) {
    drawTuft(q, at, s, QColor(80, 160, 70), 24);
  });
}

void sceneEarlyPaddy(QPainter& p, DemoRandom& random) {
  fillSky(p, 200, QColor(80, 150, 230), QColor(210, 230, 250));
  drawSun(p, QPointF(110, 60), 28, QColor(255, 250, 215));
  drawMountains(p, 200, random, QColor(100, 140, 160), QColor(60, 110, 70));
  fillGround(p, 200, QColor(110, 165, 70), QColor(60, 120, 40));
  drawRows(p, 200, 11, 16, 100, [](QPainter& q, const QPointF& at, double s) {
    drawTuft(q, at, s, QColor(50, 110, 40), 46);
    q.setPen(QPen(QColor(205, 210, 120), 2.5 * s));
    q.drawLine(at + QPointF(0, -46 * s), at + QPointF(6 * s, -58 * s));
  });
}

void sceneGoldenPaddy(QPainter& p, DemoRandom& random) {
  fillSky(p, 190, QColor(90, 150, 225), QColor(225, 235, 245));
  drawMountains(p, 190, random, QColor(150, 160, 170), QColor(150, 120, 70));
  fillGround(p, 190, QColor(225, 190, 90), QColor(190, 145, 50));
  drawRows(p, 190, 12, 16, 95, [](QPainter& q, const QPointF& at, double s) {
    q.setPen(QPen(QColor(170, 125, 40), 1.8 * s));
    q.setBrush(Qt::NoBrush);
    QPainterPath ear(at);
    ear.quadTo(at + QPointF(0, -50 * s), at + QPointF(18 * s, -36 * s));
    q.drawPath(ear);
  });
}

void sceneCombine(QPainter& p, DemoRandom& random) {
  sceneGoldenPaddy(p, random);
  drawCombine(p, QPointF(150, 440), 1.0, QColor(225, 90, 40));
}

void sceneTractor(QPainter& p, DemoRandom& random) {
  fillSky(p, 230, QColor(140, 185, 230), QColor(225, 236, 245));
  drawMountains(p, 230, random, QColor(140, 160, 180), QColor(100, 130, 100));
  fillGround(p, 230, QColor(140, 105, 70), QColor(100, 70, 45));
  p.setPen(QPen(QColor(80, 56, 36), 3));
  for (int i = -12; i <= 12; ++i)
    p.drawLine(kWidth / 2 + i * 8, 230, kWidth / 2 + i * 120, kHeight);
  drawTractor(p, QPointF(180, 430), 1.1, QColor(60, 120, 200));
}

void sceneSoybeans(QPainter& p, DemoRandom& random) {
  fillSky(p, 210, QColor(90, 160, 230), QColor(215, 235, 250));
  drawSun(p, QPointF(540, 80), 24, QColor(255, 250, 225));
  drawMountains(p, 210, random, QColor(120, 150, 170), QColor(80, 120, 80));
  fillGround(p, 210, QColor(135, 100, 70), QColor(110, 80, 50));
  drawRows(p, 210, 7, 12, 150, [](QPainter& q, const QPointF& at, double s) {
    q.setPen(Qt::NoPen);
    q.setBrush(QColor(55, 125, 45));
    q.drawEllipse(at + QPointF(0, -14 * s), 30 * s, 18 * s);
    q.setBrush(QColor(95, 165, 70));
    q.drawEllipse(at + QPointF(-6 * s, -22 * s), 16 * s, 9 * s);
  });
}

void sceneYoungTomato(QPainter& p, DemoRandom& random) {
  drawHouseInside(p);
  for (int i = 0; i < 4; ++i) drawTomatoPlant(p, QPointF(90 + i * 150, 400), 120, 0, random);
}

void sceneRipeTomato(QPainter& p, DemoRandom& random) {
  drawHouseInside(p);
  for (int i = 0; i < 3; ++i) drawTomatoPlant(p, QPointF(120 + i * 200, 420), 330, 7, random);
}

void sceneCucumber(QPainter& p, DemoRandom& random) {
  fillSky(p, 300, QColor(110, 170, 230), QColor(220, 235, 245));
  fillGround(p, 300, QColor(120, 95, 65), QColor(95, 72, 48));
  p.setPen(QPen(QColor(245, 245, 245, 180), 1));
  for (int x = 40; x <= 600; x += 24) p.drawLine(x, 40, x, 360);
  for (int y = 40; y <= 360; y += 24) p.drawLine(40, y, 600, y);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 22; ++i) {
    p.setBrush(QColor(50 + random.between(0, 40), 120 + random.between(0, 40), 45));
    p.drawEllipse(QPointF(random.between(50, 590), random.between(60, 330)), 34, 28);
  }
  for (int i = 0; i < 9; ++i) {
    p.save();
    p.translate(random.between(80, 560), random.between(150, 320));
    p.rotate(random.between(-12, 12));
    p.setBrush(QColor(40, 95, 35));
    p.drawRoundedRect(QRectF(-9, 0, 18, 95), 9, 9);
    p.setBrush(QColor(245, 215, 60));
    p.drawEllipse(QPointF(0, -4), 7, 7);
    p.restore();
  }
}

void sceneSnowHouse(QPainter& p, DemoRandom& random) {
  fillSky(p, 260, QColor(170, 180, 195), QColor(225, 228, 232));
  drawMountains(p, 260, random, QColor(235, 238, 242), QColor(215, 220, 228));
  fillGround(p, 260, QColor(245, 247, 250), QColor(225, 230, 238));
  QPainterPath arch(QPointF(130, 400));
  arch.cubicTo(QPointF(130, 220), QPointF(510, 220), QPointF(510, 400));
  arch.closeSubpath();
  p.setPen(QPen(QColor(150, 160, 170), 3));
  p.setBrush(QColor(215, 230, 240, 220));
  p.drawPath(arch);
  for (int x = 170; x < 500; x += 55) p.drawLine(x, 400, x, 300);
  p.setPen(QPen(Qt::white, 26, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath cap(QPointF(180, 292));
  cap.cubicTo(QPointF(250, 250), QPointF(390, 250), QPointF(460, 292));
  p.drawPath(cap);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (int i = 0; i < 140; ++i)
    p.drawEllipse(QPointF(random.between(0, kWidth), random.between(0, kHeight)), 2.5, 2.5);
}

using SceneFunction = void (*)(QPainter&, DemoRandom&);
constexpr std::array<SceneFunction, 12> kScenes{
    sceneSeedlingTrays, sceneTransplanting, scenePaddy,     sceneYoungTomato,
    sceneRipeTomato,    sceneCucumber,      sceneTractor,   sceneSoybeans,
    sceneCombine,       sceneGoldenPaddy,   sceneSnowHouse, sceneEarlyPaddy,
};

// One photograph of the album: the first day on or after a date on which
// a job was done.
struct PhotoDef {
  int job;
  int month;
  int day;
  int scene;
  const char* title;
  const char* memo;
};
constexpr PhotoDef kPhotos[] = {
    {kSnowClearing, 1, 20, kSceneSnowHouse, "ハウスの雪下ろし",
     "夜のうちに積もった雪をハウスから下ろした。"},
    {kRiceSowing, 4, 1, kSceneSeedlingTrays, "水稲の播種", "育苗箱に播種。今年もひとめぼれ。"},
    {kTomatoPlanting, 4, 1, kSceneYoungTomato, "トマトの定植", "上野ハウスに定植。活着は良好。"},
    {kRicePlanting, 5, 1, kSceneTransplanting, "田植え", "天気に恵まれ、田植え日和になった。"},
    {kRicePlanting, 5, 1, kScenePaddy, "植えたばかりの苗", "水面に山が映ってきれいだった。"},
    {kSoySowing, 6, 1, kSceneTractor, "大豆の播種", "北畑に播種。土の状態は良い。"},
    {kCucumberHarvestStart, 6, 1, kSceneCucumber, "きゅうり初収穫",
     "まっすぐできれいなきゅうりが採れた。"},
    {kTomatoHarvestStart, 7, 1, kSceneRipeTomato, "トマト収穫開始",
     "初どりの大玉トマト。色づきが良い。"},
    {kSoyRidging, 7, 1, kSceneSoybeans, "大豆の中耕培土", "大豆の生育は順調。"},
    {kRiceWater, 8, 5, kSceneEarlyPaddy, "出穂", "水稲の穂が出そろった。"},
    {kTomatoHarvest, 8, 10, kSceneRipeTomato, "トマト収穫最盛期", "毎日たくさん色づいている。"},
    {kRiceHarvestStart, 9, 1, kSceneCombine, "稲刈り開始", "今年も実りの秋を迎えた。"},
    {kRiceHarvestStart, 9, 1, kSceneGoldenPaddy, "黄金色の田んぼ", "穂が重く垂れている。"},
    {kSoyHarvestStart, 10, 1, kSceneCombine, "大豆の収穫", "さやがよく実った。"},
    {kCompostSpreading, 11, 1, kSceneTractor, "堆肥散布", "来年に向けた土づくり。"},
};

QDate firstWorkDay(const Season& season, int job, const QDate& from) {
  for (const WorkEntry& entry : season.work)
    if (entry.job == job && entry.date >= from) return entry.date;
  return {};
}

QString photoFileName(const QDate& date, int index) {
  return QStringLiteral("%1_%2.jpg").arg(date.toString(QStringLiteral("yyyyMMdd"))).arg(index);
}

void savePicture(const QImage& image, const QString& path) {
  if (image.save(path, "JPG", kJpegQuality)) return;
  throw DemoError(QStringLiteral("Cannot write the picture %1").arg(path));
}

// A display rate on a few pictures; the others keep none (shown at 100).
COleVariant displayRate(int photo) {
  if (photo % 5 == 2) return COleVariant(80);
  return COleVariant::null();
}

}  // namespace

QImage drawScene(int scene, quint32 variant) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  if (scene < 0 || scene >= static_cast<int>(kScenes.size())) return image;
  DemoRandom random(variant, 4);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  kScenes[static_cast<std::size_t>(scene)](painter, random);
  painter.end();
  return image;
}

void writePhotos(CDaoDatabase& db, const Season& season, quint32 seed, const QString& stagingFolder,
                 const QString& finalFolder) {
  const QDir staging(stagingFolder);
  if (!staging.mkpath(kPhotoFolderName))
    throw DemoError(
        QStringLiteral("Cannot create the folder %1").arg(staging.filePath(kPhotoFolderName)));
  const QDir pictures(QDir(finalFolder).filePath(kPhotoFolderName));
  std::map<QDate, int> perDay;
  for (int photo = 0; photo < static_cast<int>(std::size(kPhotos)); ++photo) {
    const PhotoDef& def = kPhotos[photo];
    const QDate date = firstWorkDay(season, def.job, QDate(season.year, def.month, def.day));
    if (!date.isValid()) continue;
    const QString name = photoFileName(date, ++perDay[date]);
    const QString path = pictures.absoluteFilePath(name);
    if (cp932::byteLength(path) > kMaxPathBytes)
      throw DemoError(QStringLiteral("The picture path is longer than %1 bytes: %2")
                          .arg(kMaxPathBytes)
                          .arg(path));
    savePicture(drawScene(def.scene, seed + static_cast<quint32>(photo)),
                staging.filePath(kPhotoFolderName + QLatin1Char('/') + name));
    insertRow(db, QStringLiteral("PictureLink"),
              {{"PhotoDate", COleVariant(dateNumber(date))},
               {"Title", COleVariant(QString::fromUtf8(def.title))},
               {"Memo", COleVariant(QString::fromUtf8(def.memo))},
               {"Path", COleVariant(path)},
               {"Bright", COleVariant(0)},
               {"Contrast", COleVariant(0)},
               {"Sharp", COleVariant(0)},
               {"DispRate", displayRate(photo)}});
  }
}

}  // namespace hv6::demo
