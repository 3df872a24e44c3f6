#pragma once
// The demo's random source: std::mt19937, whose sequence the standard fixes,
// with the few distributions the generator needs written out here, because
// the standard library's distributions differ between implementations.

#include <QtGlobal>
#include <random>

namespace hv6::demo {

class DemoRandom {
 public:
  // One independent stream per part of the demo, so a change in one part
  // leaves the others as they were.
  DemoRandom(quint32 seed, quint32 stream);

  // A whole number in [low, high]; low when high < low.
  int between(int low, int high);
  // A real number in [0, 1).
  double unit();
  // True with the given probability.
  bool chance(double probability);
  // A whole number in [low, high] in steps of step (low + k * step).
  int steps(int low, int high, int step);

 private:
  std::mt19937 engine_;
};

}  // namespace hv6::demo
