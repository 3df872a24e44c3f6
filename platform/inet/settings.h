#pragma once
// What a session hands on to its connections and requests (internal).

#include "platform/inet/exception.h"

#include <QString>

#include <functional>

namespace hv6::inet {

struct SessionSettings {
  QString agent;
  DWORD_PTR context = 1;
  DWORD accessType = 0;
  QString proxyName;
  QString proxyBypass;
  DWORD connectTimeoutMs = 60000;
  DWORD connectRetries = 5;
  DWORD connectBackoffMs = 0;
  DWORD sendTimeoutMs = 30000;
  DWORD receiveTimeoutMs = 30000;
  std::function<bool()> interruptCheck;
};

}  // namespace hv6::inet
