#include "install/demo/random.h"

namespace hv6::demo {

DemoRandom::DemoRandom(quint32 seed, quint32 stream)
    : engine_(static_cast<std::mt19937::result_type>(seed * 2654435761u + stream * 40503u + 1u)) {}

int DemoRandom::between(int low, int high) {
  if (high <= low) return low;
  const auto span = static_cast<quint64>(high - low) + 1u;
  return low + static_cast<int>(static_cast<quint64>(engine_()) % span);
}

double DemoRandom::unit() { return static_cast<double>(engine_()) / 4294967296.0; }

bool DemoRandom::chance(double probability) { return unit() < probability; }

int DemoRandom::steps(int low, int high, int step) {
  if (step <= 0) return low;
  return low + step * between(0, (high - low) / step);
}

}  // namespace hv6::demo
