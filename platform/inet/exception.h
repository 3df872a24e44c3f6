#pragma once
// Failures of the HTTP layer carry WinInet's error numbers, mapped from
// libcurl's, because callers show a text per number.

#include <QString>

#include <cstdint>
#include <stdexcept>

using DWORD = std::uint32_t;
using DWORD_PTR = std::uintptr_t;

// The WinInet numbers this layer raises (and a few more callers name).
enum InternetError : DWORD {
  ERROR_INTERNET_OUT_OF_HANDLES = 12001,
  ERROR_INTERNET_TIMEOUT = 12002,
  ERROR_INTERNET_INTERNAL_ERROR = 12004,
  ERROR_INTERNET_INVALID_URL = 12005,
  ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006,
  ERROR_INTERNET_NAME_NOT_RESOLVED = 12007,
  ERROR_INTERNET_INVALID_OPTION = 12009,
  ERROR_INTERNET_INVALID_OPERATION = 12016,
  ERROR_INTERNET_OPERATION_CANCELLED = 12017,
  ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019,
  ERROR_INTERNET_NOT_PROXY_REQUEST = 12020,
  ERROR_INTERNET_CANNOT_CONNECT = 12029,
  ERROR_INTERNET_CONNECTION_ABORTED = 12030,
  ERROR_INTERNET_CONNECTION_RESET = 12031,
  ERROR_INTERNET_SEC_CERT_DATE_INVALID = 12037,
  ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038,
  ERROR_INTERNET_INVALID_CA = 12045,
  ERROR_INTERNET_SEC_CERT_REV_FAILED = 12057,
  ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152,
  ERROR_HTTP_REDIRECT_FAILED = 12156,
  ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157,
};

class CInternetException : public std::runtime_error {
 public:
  // detail: libcurl's own description, for logs; callers show the text of
  // the number.
  explicit CInternetException(DWORD error, DWORD_PTR context = 1, QString detail = QString());

  DWORD m_dwError;
  DWORD_PTR m_dwContext;

  const QString& detail() const { return detail_; }

 private:
  QString detail_;
};
