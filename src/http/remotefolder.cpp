#include "http/remotefolder.h"

#include "http/curlfolder.h"
#include "http/webdavfolder.h"

std::unique_ptr<RemoteFolder> RemoteFolder::open(const UploadAccount& account, QObject* parent) {
    if (account.protocol == UploadAccount::Protocol::WebDav)
        return openWebDavFolder(account, parent);
    return openCurlFolder(account, parent);
}
