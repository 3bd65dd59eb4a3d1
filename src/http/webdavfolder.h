#pragma once

#include "http/remotefolder.h"

/// A folder reached over WebDAV (HTTPS).
std::unique_ptr<RemoteFolder> openWebDavFolder(const UploadAccount& account, QObject* parent);
