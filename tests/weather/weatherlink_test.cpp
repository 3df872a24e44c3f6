#include "tests/weather/weather_fixture.h"

#include "weather/weatherlink.h"

namespace {

using hv6test::CommSettingsTest;

class LanWeatherLinkTest : public CommSettingsTest {
 protected:
  void storeLink(std::uint32_t connect, std::uint32_t disconnect) {
    hv6::CommSettings s;
    s.connectMethod = connect;
    s.disconnectMethod = disconnect;
    s.phoneEntry = QStringLiteral("農協回線");
    storeSettings(s);
  }
};

TEST_F(LanWeatherLinkTest, LanNeedsNothingAndSaysNothing) {
  storeLink(hv6::kConnectLan, hv6::kHangUp);
  hv6::LanWeatherLink link(registry);
  EXPECT_TRUE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_TRUE(messages.empty());
}

// Without dial-up support a dial-up choice is refused like a missing
// remote access: 2641 from both steps unless the line is to be kept.
TEST_F(LanWeatherLinkTest, DialUpWithoutRemoteAccessShows2641FromEachStep) {
  storeLink(hv6::kConnectDialUp, hv6::kAskHangUp);
  hv6::LanWeatherLink link(registry);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), (QList<long>{2641, 2641}));

  messages.clear();
  storeLink(hv6::kConnectDialUp, hv6::kKeepLine);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), QList<long>{2641});
}

TEST_F(LanWeatherLinkTest, UnreadableSettingFailsTheBeginWith2504) {
  storeLink(hv6::kConnectLan, hv6::kHangUp);
  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::CommKeys::kPhoneEntry);
  hv6::LanWeatherLink link(registry);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), (QList<long>{2504, 2504}));
}

}  // namespace
