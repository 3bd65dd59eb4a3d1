#include "pagegen/documentpictures.h"

#include "app/appstate.h"
#include "pagegen/pagetext.h"

#include <algorithm>

namespace {

QString bareFileName(const QString& path) {
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(separator + 1);
}

} // namespace

bool documentPictureLocation(AppState& state, int itemNo, const QString& storedFile,
                             QString& location) {
    if (itemNo < 0 || storedFile.isEmpty())
        return false;
    if (!state.Publishing) {
        location = PathToFileUrl(storedFile);
        return true;
    }
    if (state.OwnServer == 1 || state.OwnServer == 2) {
        const QString& server = state.OwnServer == 1 ? state.PrimaryServer : state.SecondaryServer;
        location = server + bareFileName(storedFile);
        state.RequiredImages.add(location);
    }
    return true;
}
