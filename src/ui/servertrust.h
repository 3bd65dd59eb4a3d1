#pragma once

#include "http/remotefolder.h"

class Settings;
class UserDialogs;

/// The seller's say on an identity of their server the program does not
/// trust yet.
namespace servertrust {

/// For an unknown SSH host key or an untrusted certificate: shows its
/// fingerprint and asks whether to trust it; when the seller accepts, the
/// host key is added to the program's known-hosts file (the last of the
/// account's) or the certificate's key pinned in the settings, and true is
/// returned (try again). A changed host key is refused with a warning and
/// gives false, as does anything else.
bool askToTrust(const UploadOutcome& outcome, const UploadAccount& account, UserDialogs& dialogs,
                Settings& settings);

} // namespace servertrust
