#include "layout/layoutdocument.h"

#include "layout/layoutrules.h"
#include "platform/fileurl.h"
#include "platform/workingfolders.h"

namespace {

/// Sets `field` to `value`; true when that changed it.
template <typename T>
bool assign(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

QString LayoutState::*hintField(LayoutDocument::Picture picture) {
    switch (picture) {
    case LayoutDocument::Picture::Ad:
        return &LayoutState::AdImageHint;
    case LayoutDocument::Picture::Frame:
        return &LayoutState::FrameImageHint;
    case LayoutDocument::Picture::Text:
        break;
    }
    return &LayoutState::TextImageHint;
}

} // namespace

LayoutDocument::LayoutDocument(QObject* parent)
    : QObject(parent) {}

LayoutFileContent LayoutDocument::content() const {
    LayoutFileContent content;
    content.layout = m_layout;
    content.TxtAllMargins = m_allMargins;
    return content;
}

void LayoutDocument::setText(QString Layout::*field, const QString& value) {
    if (assign(m_layout.*field, value))
        announce(valuesChanged());
}

void LayoutDocument::setFlag(bool Layout::*field, bool value) {
    if (assign(m_layout.*field, value))
        announce(valuesChanged());
}

void LayoutDocument::setLayout(const Layout& layout) {
    if (assign(m_layout, layout))
        announce(valuesChanged());
}

void LayoutDocument::setAllMargins(bool on) {
    if (assign(m_allMargins, on))
        announce(Change::Values);
}

void LayoutDocument::pickColour(QString Layout::*field, const QString& colour) {
    Changes what;
    if (assign(m_layout.*field, colour))
        what |= valuesChanged();
    if (assign(m_state.LayoutModified, true))
        what |= Change::Modified;
    announce(what);
}

void LayoutDocument::choosePicture(Picture picture, const QString& path) {
    QString Layout::*const paths[] = {&Layout::AdImg, &Layout::FBgImg, &Layout::TxtBgImg};
    bool Layout::*const hidden[] = {&Layout::AdImgHide, &Layout::FImgHide, &Layout::TxtImgHide};
    const int index = int(picture);
    Changes what;
    const bool pathChanged = assign(m_layout.*paths[index], path);
    if (assign(m_layout.*hidden[index], false) || pathChanged)
        what |= valuesChanged();
    if (assign(hintOf(picture), imageHint(path)))
        what |= Change::Pictures;
    if (assign(m_state.LayoutModified, true))
        what |= Change::Modified;
    announce(what);
}

void LayoutDocument::replaceWith(const LayoutFileContent& content) {
    m_layout = content.layout;
    m_allMargins = content.TxtAllMargins;
    // Said even when nothing differs: the controls show the layout anew.
    announce(valuesChanged() | Change::Loaded);
}

Status LayoutDocument::load(const QString& fileName) {
    const Result<LayoutFileContent> read = loadedLayoutFile(fileName);
    if (!read)
        return fail(read.error());
    replaceWith(*read);
    return {};
}

void LayoutDocument::startUntitled() {
    Changes what;
    if (assign(m_state.LayoutLoadNeeded, true))
        what |= Change::Loading;
    if (assign(m_state.LayoutModified, false))
        what |= Change::Modified;
    if (assign(m_state.LayoutFolder, QString()) |
        assign(m_state.LayoutFileName, WorkingFolders::untitledLayoutName()))
        what |= Change::File;
    announce(what);
}

Status LayoutDocument::save(const QString& folder, const QString& fileName) {
    if (const Status written = layoutfile::write(folder + fileName, content()); !written)
        return written;
    Changes what;
    // Only a layout that is on disk takes the file as its identity.
    if (assign(m_state.LayoutFolder, folder) | assign(m_state.LayoutFileName, fileName))
        what |= Change::File;
    if (assign(m_state.LayoutModified, false))
        what |= Change::Modified;
    announce(what);
    return {};
}

void LayoutDocument::setFile(const QString& folder, const QString& fileName) {
    if (assign(m_state.LayoutFolder, folder) | assign(m_state.LayoutFileName, fileName))
        announce(Change::File);
}

void LayoutDocument::markModified() {
    if (assign(m_state.LayoutModified, true))
        announce(Change::Modified);
}

void LayoutDocument::markSaved() {
    if (assign(m_state.LayoutModified, false))
        announce(Change::Modified);
}

void LayoutDocument::setLoadNeeded(bool needed) {
    if (assign(m_state.LayoutLoadNeeded, needed))
        announce(Change::Loading);
}

void LayoutDocument::setLoadRequest(LayoutLoadRequest request) {
    if (assign(m_state.LayoutLoadRequested, request))
        announce(Change::Loading);
}

void LayoutDocument::requestLoad(LayoutLoadRequest request) {
    if (assign(m_state.LayoutLoadRequested, request) | assign(m_state.LayoutLoadNeeded, true))
        announce(Change::Loading);
}

LayoutLoadRequest LayoutDocument::takeLoadRequest() {
    const LayoutLoadRequest request = m_state.LayoutLoadRequested;
    setLoadRequest(LayoutLoadRequest::None);
    return request;
}

void LayoutDocument::setControlsReady(bool ready) {
    if (assign(m_state.LayoutControlsReady, ready))
        announce(Change::Loading);
}

void LayoutDocument::setPictureHint(Picture picture, const QString& hint) {
    if (assign(hintOf(picture), hint))
        announce(Change::Pictures);
}

void LayoutDocument::resetPictureHints() {
    const QString none = imageHint(QString());
    bool any = false;
    for (Picture picture : {Picture::Ad, Picture::Frame, Picture::Text})
        any |= assign(hintOf(picture), none);
    if (any)
        announce(Change::Pictures);
}

const QString& LayoutDocument::pictureHint(Picture picture) const {
    return m_state.*hintField(picture);
}

QString& LayoutDocument::hintOf(Picture picture) {
    return m_state.*hintField(picture);
}

LayoutDocument::Changes LayoutDocument::valuesChanged() {
    // Publishing names each picture on its server by the file name alone.
    bool names = assign(m_state.AdImageFileName, pathFileName(m_layout.AdImg));
    names |= assign(m_state.FrameImageFileName, pathFileName(m_layout.FBgImg));
    names |= assign(m_state.TextImageFileName, pathFileName(m_layout.TxtBgImg));
    return names ? Changes(Change::Values) | Change::Pictures : Changes(Change::Values);
}

void LayoutDocument::announce(Changes what) {
    if (!what)
        return;
    emit changed(what);
    if (what & Change::Modified)
        emit modifiedChanged(m_state.LayoutModified);
    if (what & Change::File)
        emit fileChanged(m_state.LayoutFolder, m_state.LayoutFileName);
}
