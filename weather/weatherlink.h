#pragma once
// The connection steps around a weather retrieval. The weather command
// creates one link per run, calls BeginWeatherLink before the retrieval
// and EndWeatherLink after it in every case (also when the begin failed),
// then releases the link.
//
// The dial-up controller (CDialUpLink) is such a link: it opens the
// phone-book entry before the retrieval and hangs up afterwards according
// to DisconnectMethod; with a LAN connection it needs nothing.

#include <memory>

class QWidget;

namespace hv6 {

class AppRegistry;

class WeatherLink {
 public:
  virtual ~WeatherLink() = default;
  // Before the retrieval: true when the retrieval may run. Shows its own
  // messages when it fails. owner is the window that owns any dialog or
  // question (null when the retrieval runs without windows).
  virtual bool BeginWeatherLink(QWidget* owner) = 0;
  // After the retrieval, whatever BeginWeatherLink answered.
  virtual void EndWeatherLink() = 0;
};

// The link the weather command uses: the dial-up controller.
std::unique_ptr<WeatherLink> makeWeatherLink(AppRegistry& registry);

}  // namespace hv6
