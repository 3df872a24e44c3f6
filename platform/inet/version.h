#pragma once
// Which of two ways a request is opened, decided by the installed WinInet
// version: the full URL on the session, or a connection with the port and
// an object name relative to the server.

#include <QString>

namespace hv6::inet {

// The version of the system's "wininet.dll" as "%d.%02d.%04d.%04d". There
// is no such file here, and a system file's version that cannot be read
// reads as "0.0.0.0".
QString wininetVersionText();

// 1 (use the full URL) or 0 (use a connection and a relative object name)
// for a version text: a first part of two or more digits above 9 gives 1;
// otherwise the text and its first seven characters are compared as byte
// strings against the known release boundaries.
int wininetVersionRule(const QString& version);

// The rule for the version read now; evaluated anew for every request.
bool useFullUrl();

}  // namespace hv6::inet
