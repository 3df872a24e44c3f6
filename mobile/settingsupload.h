#pragma once
// OK of the mobile input settings sheet once its pages are read: the
// checks, the confirmation, the save in one transaction and the upload to
// the service's page "UploadHV2.asp".

#include "mobile/inputsettings.h"

#include <QString>

#include <functional>

class CDaoDatabase;

namespace hv6::mobile {

struct ServerSettings;

// The logon before the upload failed or was refused.
QString uploadLogonFailedText();
// The server refused the body (first line "0").
QString uploadRefusedText();
// Added to every failure message of the upload: the settings are saved,
// only the transfer is to be repeated.
QString settingsSavedNote();

// Logs on and posts the body of the settings. Every failure shows one
// message that ends with settingsSavedNote(). True when the server took
// the body.
bool uploadInputSettings(const InputSettings& settings, const ServerSettings& server);

// Steps of OK after the pages were read: validate (which may switch items
// off), confirm, save, then read "wxfetch.ini" and upload. waiting is
// called with true after the confirmation and with false at the end (it
// may be empty). True when the sheet may close.
bool confirmInputSettings(CDaoDatabase& diary, InputSettings& settings,
                          const std::function<void(bool)>& waiting = {});

}  // namespace hv6::mobile
