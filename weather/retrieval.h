#pragma once
// The weather retrieval: every observation point of Location that is
// observed today gets the weather library's whole call sequence, from the
// start date of the Item rows on. Used by the weather command and by
// "hv6 --fetch-weather".

#include <functional>
#include <memory>

class CDaoDatabase;
class QWidget;

namespace hv6 {

class AppRegistry;
class WeatherLink;

// The weather library's calls as the retrieval makes them.
class WeatherLibrary {
 public:
  virtual ~WeatherLibrary() = default;
  virtual int InitWeatherNetwork(int mode) = 0;
  virtual int CreateTable() = 0;
  virtual int GetTerra8Data(int kind) = 0;
  virtual int Get1KmMeshData(int code, int year, int month, int day) = 0;
};

// The linked library wxfetch6.
class Wxfetch6Library final : public WeatherLibrary {
 public:
  int InitWeatherNetwork(int mode) override;
  int CreateTable() override;
  int GetTerra8Data(int kind) override;
  int Get1KmMeshData(int code, int year, int month, int day) override;
};

// The calls for one point. With init: InitWeatherNetwork(0) (0 gives -1),
// CreateTable() (nonzero is the result), GetTerra8Data(1) (negative is the
// result); a code below 1 or above 8 ends there with that result. Then
// Get1KmMeshData(code, year, month, day) is the result.
int FetchPointData(WeatherLibrary& library, int code, int year, int month, int day, bool init);

// The weather database, opened again before each use; null when it cannot
// be opened.
using WeatherDatabaseOpener = std::function<CDaoDatabase*()>;

// One retrieval: the start date from the first Item row of DataSpecies 0 by
// Type; each Location row observed on `today` (yyyymmdd: SDate at or before
// it, EDate Null, 0 or not before it) in table order gets FetchPointData
// with init; a negative result ends the run at once with failure (no
// message of its own). No Location row: one sequence without a point. When
// nothing was fetched, 2445. A database failure shows its error (2036 when
// out of memory) and fails. owner: the parent of the messages.
bool RetrieveWeatherData(WeatherLibrary& library, const WeatherDatabaseOpener& openWeather,
                         long today, QWidget* owner = nullptr);

// What the weather command needs besides the window.
struct WeatherCommandParts {
  AppRegistry& registry;
  std::function<std::unique_ptr<WeatherLink>()> makeLink;
  WeatherLibrary& library;
  WeatherDatabaseOpener openWeather;
  long today = 0;
  QWidget* owner = nullptr;
  // Around the retrieval: the wait cursor and the receiving dialog.
  std::function<void()> showWaiting;
  std::function<void()> endWaiting;
};

// The weather command: nothing unless NetworkSetup is on (2504 when it
// cannot be read, which counts as off); then the link's begin, the
// retrieval between showWaiting and endWaiting when the begin succeeded,
// and the link's end in every case. True when a retrieval ran and
// succeeded.
bool runWeatherCommand(const WeatherCommandParts& parts);

}  // namespace hv6
