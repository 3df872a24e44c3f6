#include "platform/inet/curl_errors.h"

#include <curl/curl.h>

namespace hv6::inet {
namespace {

// OpenSSL's X509_V_ERR_ numbers.
constexpr long kVerifyOk = 0;
constexpr long kUnspecified = 1;
constexpr long kCertNotYetValid = 9;
constexpr long kCertHasExpired = 10;
constexpr long kHostnameMismatch = 62;
constexpr long kIpAddressMismatch = 64;

// A chain OpenSSL rejects fails the handshake with its reason. libcurl
// checks the host name itself once the handshake is through, before it
// reads the chain's result, which then still holds its "not yet known"
// mark (1); so 0 or 1 with a failed verification means a name mismatch.
DWORD certificateError(long verifyResult) {
  switch (verifyResult) {
    case kCertNotYetValid:
    case kCertHasExpired:
      return ERROR_INTERNET_SEC_CERT_DATE_INVALID;
    case kVerifyOk:
    case kUnspecified:
    case kHostnameMismatch:
    case kIpAddressMismatch:
      return ERROR_INTERNET_SEC_CERT_CN_INVALID;
    default:
      return ERROR_INTERNET_INVALID_CA;
  }
}

}  // namespace

DWORD winInetErrorFromCurl(int curlCode, long verifyResult) {
  switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_OK:
      return 0;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
    case CURLE_INTERFACE_FAILED:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_UPLOAD_FAILED:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    // The scheme is checked before libcurl runs, so its "unsupported
    // protocol" here means an answer without an HTTP status line.
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
    case CURLE_BAD_CONTENT_ENCODING:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_ABORTED_BY_CALLBACK:
      return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_PROXY:
      return ERROR_INTERNET_NOT_PROXY_REQUEST;
    case CURLE_PEER_FAILED_VERIFICATION:
      return certificateError(verifyResult);
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
      return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_INVALIDCERTSTATUS:
      return ERROR_INTERNET_SEC_CERT_REV_FAILED;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_CLIENTCERT:
      return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    default:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

}  // namespace hv6::inet
