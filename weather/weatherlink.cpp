#include "weather/weatherlink.h"

#include "outside/errtext6/errmsg.h"
#include "shell/appregistry.h"
#include "shell/startup.h"
#include "weather/commsettings.h"
#include "weather/dialuplink.h"

#include <cstdint>
#include <exception>

namespace hv6 {

namespace {

constexpr long kMsgSettingsFailed = 1006;
constexpr long kMsgSettingMissing = 2504;
constexpr long kMsgNoRemoteAccess = 2641;

struct LinkSettings {
  std::uint32_t connectMethod = kConnectLan;
  std::uint32_t disconnectMethod = kAskHangUp;
  QString phoneEntry;
};

void showNumbered(long number) { CErrMsg().Disp(number, 1, 0, kAppTitle); }

// The three values the link steps read; 2504 or 1006 when they cannot be.
bool readLinkSettings(const AppRegistry& registry, LinkSettings& settings) {
  try {
    const QString& key = StartKeys::kBaseInfo;
    if (registry.readDword(key, CommKeys::kConnectMethod, settings.connectMethod) &&
        registry.readDword(key, CommKeys::kDisconnectMethod, settings.disconnectMethod) &&
        registry.readString(key, CommKeys::kPhoneEntry, settings.phoneEntry))
      return true;
    showNumbered(kMsgSettingMissing);
  } catch (const std::exception&) {
    showNumbered(kMsgSettingsFailed);
  }
  return false;
}

}  // namespace

bool LanWeatherLink::BeginWeatherLink(QWidget*) {
  LinkSettings settings;
  if (!readLinkSettings(registry_, settings)) return false;
  if (settings.connectMethod == kConnectLan) return true;
  showNumbered(kMsgNoRemoteAccess);
  return false;
}

void LanWeatherLink::EndWeatherLink() {
  LinkSettings settings;
  if (!readLinkSettings(registry_, settings)) return;
  if (settings.connectMethod == kConnectLan || settings.disconnectMethod == kKeepLine) return;
  showNumbered(kMsgNoRemoteAccess);
}

std::unique_ptr<WeatherLink> makeWeatherLink(AppRegistry& registry) {
  return std::make_unique<CDialUpLink>(registry);
}

}  // namespace hv6
