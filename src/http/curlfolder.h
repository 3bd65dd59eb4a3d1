#pragma once

#include "http/remotefolder.h"

/// A folder reached over SFTP, FTPS or FTP.
std::unique_ptr<RemoteFolder> openCurlFolder(const UploadAccount& account, QObject* parent);
