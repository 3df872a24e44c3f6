// Opening the album on 1,000 pictures of 12 megapixels: the time until the
// first screen of thumbnails is painted, with an empty thumbnail cache and
// again with the cache the first opening left, and the memory it takes.
// Baseline in the same run: decoding one of those pictures whole.
#include "outside/picview6/thumbnailcache.h"
#include "outside/picview6/ui/vieweralbum.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QListView>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kPictures = 1000;
constexpr QSize kPictureSize(4000, 3000);  // 12 megapixels
constexpr QSize kAlbumSize(1024, 768);

// The pictures: one camera-like JPEG (a drawn scene with sensor noise)
// copied under 1,000 names, made once for the run.
struct PictureSet {
  QTemporaryDir dir;
  QStringList paths;
  qint64 bytes = 0;

  PictureSet() {
    QImage image(kPictureSize, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 3000);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(0.5, QColor(200, 220, 240));
    sky.setColorAt(0.51, QColor(90, 140, 60));
    sky.setColorAt(1, QColor(70, 100, 40));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(7);
    for (int plant = 0; plant < 3000; ++plant) {
      painter.setBrush(QColor(40 + random.bounded(60), 120 + random.bounded(80), 40));
      painter.setPen(Qt::NoPen);
      painter.drawEllipse(QPoint(random.bounded(4000), 1500 + random.bounded(1500)),
                          10 + random.bounded(40), 6 + random.bounded(20));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const int noise = int(random.bounded(17)) - 8;
        const QRgb p = row[x];
        row[x] = qRgb(std::clamp(qRed(p) + noise, 0, 255), std::clamp(qGreen(p) + noise, 0, 255),
                      std::clamp(qBlue(p) + noise, 0, 255));
      }
    }
    QByteArray jpeg;
    {
      QFile file(dir.filePath(QStringLiteral("base.jpg")));
      image.save(&file, "JPG", 90);
    }
    QFile base(dir.filePath(QStringLiteral("base.jpg")));
    base.open(QIODevice::ReadOnly);
    jpeg = base.readAll();
    QDir().mkpath(dir.filePath(QStringLiteral("写真 フォルダ")));
    for (int index = 0; index < kPictures; ++index) {
      const QString path = dir.filePath(QStringLiteral("写真 フォルダ/IMG_%1.jpg").arg(index, 4, 10, QLatin1Char('0')));
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write(jpeg);
      paths << path;
    }
    bytes = jpeg.size();
  }
  QString cacheFolder() const { return dir.filePath(QStringLiteral("thumbnails")); }
};

PictureSet& pictures() {
  static PictureSet set;
  return set;
}

// Resident and peak memory of the process, in megabytes.
double memoryMb(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(field)) return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

// Opens the album and waits until every item on its first screen has its
// thumbnail; the album stays open in the returned owner.
std::unique_ptr<QWidget> openAlbum(const PictureSet& set) {
  auto owner = std::make_unique<QWidget>();
  owner->resize(kAlbumSize);
  auto* album = new CViewerAlbum(owner.get());
  album->Create(QRect(QPoint(0, 0), kAlbumSize), owner.get(), 1000, 1330, 1331, set.cacheFolder());
  for (int index = 0; index < set.paths.size(); ++index)
    album->AddData(QStringLiteral("写真 %1").arg(index), set.paths.at(index), {0, 0, 0});
  owner->show();
  QListView* list = album->listView();
  picview6::AlbumModel* model = album->model();
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const QRect screen = list->viewport()->rect();
    bool complete = true;
    int shown = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
      if (!list->visualRect(model->index(row)).intersects(screen)) {
        if (shown > 0) break;
        continue;
      }
      ++shown;
      if (model->index(row).data(picview6::AlbumModel::ThumbnailRole).value<QImage>().isNull()) {
        complete = false;
        break;
      }
    }
    if (complete && shown > 0) break;
  }
  return owner;
}

void BM_DecodeOnePictureWhole(benchmark::State& state) {
  const PictureSet& set = pictures();
  for (auto _ : state) {
    QImageReader reader(set.paths.first());
    QImage image = reader.read();
    benchmark::DoNotOptimize(image);
  }
  state.counters["file_mb"] = double(set.bytes) / 1e6;
}
BENCHMARK(BM_DecodeOnePictureWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

// One thumbnail made from its picture (no cache): the work the first opening
// does per item, on this thread.
void BM_ThumbnailOfOnePicture(benchmark::State& state) {
  const PictureSet& set = pictures();
  const picview6::ThumbnailCache none(QString(), CViewerAlbum::kThumbnailSide);
  for (auto _ : state) {
    picview6::PictureRead read = none.thumbnail(set.paths.first());
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ThumbnailOfOnePicture)->Unit(benchmark::kMillisecond);

void runOpening(benchmark::State& state, bool keepCache) {
  const PictureSet& set = pictures();
  const double before = memoryMb("VmRSS:");
  double after = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!keepCache) QDir(set.cacheFolder()).removeRecursively();
    else if (!QDir(set.cacheFolder()).exists()) openAlbum(set).reset();  // the first opening
    state.ResumeTiming();
    std::unique_ptr<QWidget> album = openAlbum(set);
    state.PauseTiming();
    after = memoryMb("VmRSS:");
    album.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["rss_mb"] = after;
  state.counters["rss_growth_mb"] = after - before;
  state.counters["peak_rss_mb"] = memoryMb("VmHWM:");
}

void BM_AlbumFirstScreenFirstOpening(benchmark::State& state) { runOpening(state, false); }
BENCHMARK(BM_AlbumFirstScreenFirstOpening)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_AlbumFirstScreenSecondOpening(benchmark::State& state) { runOpening(state, true); }
BENCHMARK(BM_AlbumFirstScreenSecondOpening)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Scrolling through all 1,000 a screen at a time, every screen waited for:
// memory stays bounded although every picture was shown once.
void BM_AlbumScrollThroughAll(benchmark::State& state) {
  const PictureSet& set = pictures();
  for (auto _ : state) {
    std::unique_ptr<QWidget> owner = openAlbum(set);
    auto* album = owner->findChild<CViewerAlbum*>();
    QListView* list = album->listView();
    QScrollBar* bar = list->verticalScrollBar();
    while (bar->value() < bar->maximum()) {
      bar->setValue(std::min(bar->maximum(), bar->value() + list->viewport()->height()));
      QCoreApplication::processEvents();
      album->model()->waitForThumbnails();
    }
  }
  state.counters["peak_rss_mb"] = memoryMb("VmHWM:");
  state.counters["rss_mb"] = memoryMb("VmRSS:");
}
BENCHMARK(BM_AlbumScrollThroughAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
