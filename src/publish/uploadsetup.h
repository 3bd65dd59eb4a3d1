#pragma once

#include "http/uploadaccount.h"

#include <QString>

class Settings;
struct WorkingFolders;

/// The seller's upload server as the settings describe it.
namespace uploadsetup {

/// The settings name a server to send pictures to.
bool configured(const Settings& settings);
/// The account of the settings, trusting host keys of the user's
/// ~/.ssh/known_hosts and of the program's own file, and the pinned
/// certificate key. The password is not filled in (see `secretstore`).
UploadAccount account(const Settings& settings, const WorkingFolders& folders);

} // namespace uploadsetup
