#include "weather/weatherlink.h"

#include "weather/dialuplink.h"

namespace hv6 {

std::unique_ptr<WeatherLink> makeWeatherLink(AppRegistry& registry) {
  return std::make_unique<CDialUpLink>(registry);
}

}  // namespace hv6
