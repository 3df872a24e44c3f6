#pragma once
// WinInet's number for a libcurl result (internal; tests use it for the
// results a local server cannot provoke).

#include "platform/inet/exception.h"

namespace hv6::inet {

// curlCode: a CURLcode. verifyResult: OpenSSL's verification result of the
// server certificate (CURLINFO_SSL_VERIFYRESULT), which tells apart the
// certificate problems libcurl reports as one code. 0 for CURLE_OK.
DWORD winInetErrorFromCurl(int curlCode, long verifyResult = 0);

}  // namespace hv6::inet
