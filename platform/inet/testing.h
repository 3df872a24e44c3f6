#pragma once
// Hooks for tests only: the program itself never calls these.

#include "platform/inet/exception.h"

#include <QString>

#include <functional>

namespace hv6::inet::testing {

// Called by every CInternetSession::SetOption before it takes the value;
// returning false makes SetOption fail. An empty function (the default)
// lets every option through.
void setOptionHook(std::function<bool(DWORD option, DWORD value)> hook);

// Factor applied to every time-out (connect, send, receive, back-off) when a
// transfer starts; 1 by default. Values at or below 0 are ignored.
void setTimeoutScale(double scale);
double timeoutScale();

// Takes the factor from the variable HV6_INET_TIMEOUT_SCALE (a decimal
// number) when it is set. The test fixtures call it; the program never does,
// so the variable shortens time-outs in the test build only.
void applyTimeoutScaleFromEnvironment();

// A file of CA certificates to check servers against instead of the system
// store (empty: the system store).
void setCaFile(const QString& path);
QString caFile();

}  // namespace hv6::inet::testing
