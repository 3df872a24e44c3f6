#include "sales/slsale/module.h"

namespace slsale {

Services& services() {
  static Services instance;
  return instance;
}

Display& display() {
  static Display instance;
  return instance;
}

}  // namespace slsale
