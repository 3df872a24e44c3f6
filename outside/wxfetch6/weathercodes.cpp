#include "outside/wxfetch6/weathercodes.h"

#include <map>

namespace hv6::wxfetch {
namespace {

constexpr int kFirstWetCode = 51;

}  // namespace

std::optional<int> pictureOfWmo(int code) {
  switch (code) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 45: case 48: return 4;
    case 51: case 53: case 55: case 56: case 57: case 61: case 80: return 5;
    case 63: case 66: case 81: return 6;
    case 65: case 67: case 82: return 7;
    case 71: case 73: case 75: case 77: case 85: case 86: return 8;
    case 95: case 96: case 99: return 9;
    default: return std::nullopt;
  }
}

std::optional<int> periodCode(const QList<int>& hourlyCodes) {
  if (hourlyCodes.isEmpty()) return std::nullopt;
  int wettest = -1;
  std::map<int, int> hours;  // code -> hours with it
  for (int code : hourlyCodes) {
    if (code >= kFirstWetCode && code > wettest) wettest = code;
    ++hours[code];
  }
  if (wettest >= 0) return wettest;
  int best = -1;
  int bestHours = 0;
  for (const auto& [code, count] : hours) {  // ascending, so a tie keeps the higher code
    if (count < bestHours) continue;
    best = code;
    bestHours = count;
  }
  return best;
}

int periodOfHour(int hour) {
  if (hour < 6 || hour > 23) return -1;
  return (hour - 6) / 6;
}

}  // namespace hv6::wxfetch
