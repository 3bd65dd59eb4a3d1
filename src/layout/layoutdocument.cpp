#include "layout/layoutdocument.h"

#include "layout/layoutrules.h"
#include "platform/fileurl.h"
#include "platform/workingfolders.h"

#include <QScopedValueRollback>
#include <QUndoCommand>
#include <iterator>

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

QString Layout::*pathField(LayoutDocument::Picture picture) {
    switch (picture) {
    case LayoutDocument::Picture::Ad:
        return &Layout::AdImg;
    case LayoutDocument::Picture::Frame:
        return &Layout::FBgImg;
    case LayoutDocument::Picture::Text:
        break;
    }
    return &Layout::TxtBgImg;
}

bool sameContent(const LayoutFileContent& a, const LayoutFileContent& b) {
    return a.layout == b.layout && a.TxtAllMargins == b.TxtAllMargins;
}

/// The fields a seller types into or steps with the arrows: a run of
/// changes to them joins one step.
QString Layout::*const numberFields[] = {
    &Layout::AdWidthValue, &Layout::OBWidth,     &Layout::FWidth,    &Layout::FBWidth,
    &Layout::TxtPadLeft,   &Layout::TxtPadRight, &Layout::TxtPadTop,
};

/// One bit for each number field that differs, when nothing else does;
/// otherwise 0.
int numberFieldsChanged(const LayoutFileContent& before, const LayoutFileContent& after) {
    if (before.TxtAllMargins != after.TxtAllMargins)
        return 0;
    Layout rest = after.layout;
    int fields = 0;
    for (int i = 0; i < int(std::size(numberFields)); ++i) {
        QString Layout::*const field = numberFields[i];
        if (before.layout.*field != after.layout.*field) {
            fields |= 1 << i;
            rest.*field = before.layout.*field;
        }
    }
    return rest == before.layout ? fields : 0;
}

} // namespace

/// One step of the history: the layout before and after it.
class LayoutDocument::HistoryStep : public QUndoCommand {
public:
    HistoryStep(LayoutDocument& document, Snapshot before, Snapshot after, bool withFile,
                int numberFields, bool joinsBurst)
        : m_document(document)
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_withFile(withFile)
        , m_numberFields(numberFields)
        , m_joinsBurst(joinsBurst) {}

    int id() const override { return m_numberFields ? 1 : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const HistoryStep*>(other);
        if (!next->m_joinsBurst || next->m_numberFields != m_numberFields)
            return false;
        m_after = next->m_after;
        // Typed and typed away again: nothing is left to undo.
        setObsolete(m_after == m_before);
        return true;
    }

    void undo() override {
        // The stack moves its index once this returns.
        const QUndoStack& history = m_document.m_history;
        m_document.putBack(m_before, m_withFile, history.cleanIndex() == history.index() - 1);
    }

    void redo() override {
        // Pushed once the document holds the change already.
        if (!m_done) {
            m_done = true;
            return;
        }
        const QUndoStack& history = m_document.m_history;
        m_document.putBack(m_after, m_withFile, history.cleanIndex() == history.index() + 1);
    }

private:
    LayoutDocument& m_document;
    Snapshot m_before;
    Snapshot m_after;
    bool m_withFile;
    int m_numberFields;
    bool m_joinsBurst;
    bool m_done = false;
};

bool LayoutDocument::Snapshot::operator==(const Snapshot& other) const {
    return sameContent(content, other.content) && folder == other.folder &&
           fileName == other.fileName;
}

LayoutDocument::Step::Step(LayoutDocument& document, StepKind kind)
    : m_document(document) {
    m_document.beginStep(kind);
}

LayoutDocument::Step::~Step() {
    m_document.endStep();
}

LayoutDocument::LayoutDocument(QObject* parent)
    : QObject(parent) {
    m_recorded = content();
}

LayoutDocument::~LayoutDocument() = default;

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
    bool Layout::*const hidden[] = {&Layout::AdImgHide, &Layout::FImgHide, &Layout::TxtImgHide};
    const int index = int(picture);
    Changes what;
    const bool pathChanged = assign(m_layout.*pathField(picture), path);
    if (assign(m_layout.*hidden[index], false) || pathChanged)
        what |= valuesChanged();
    if (assign(hintOf(picture), imageHint(path)))
        what |= Change::Pictures;
    if (assign(m_state.LayoutModified, true))
        what |= Change::Modified;
    announce(what);
}

void LayoutDocument::replaceWith(const LayoutFileContent& content) {
    const Step step(*this, StepKind::Load);
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
    m_history.setClean();
    m_burstFields = 0;
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
    // Where the layout counts as unchanged, undo and redo come back to.
    m_history.setClean();
    m_burstFields = 0;
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
    if ((what & Change::Values) && !m_puttingBack && m_stepDepth == 0)
        what |= recordEdit();
    if (!what)
        return;
    emit changed(what);
    if (what & Change::Modified)
        emit modifiedChanged(m_state.LayoutModified);
    if (what & Change::File)
        emit fileChanged(m_state.LayoutFolder, m_state.LayoutFileName);
}

LayoutDocument::Snapshot LayoutDocument::snapshot() const {
    return {content(), m_state.LayoutFolder, m_state.LayoutFileName};
}

void LayoutDocument::undo() {
    m_burstFields = 0;
    m_history.undo();
}

void LayoutDocument::redo() {
    m_burstFields = 0;
    m_history.redo();
}

void LayoutDocument::endBurst() {
    m_burstFields = 0;
}

void LayoutDocument::beginStep(StepKind kind) {
    if (m_stepDepth++ > 0) {
        if (kind == StepKind::Load)
            m_stepKind = kind;
        return;
    }
    m_stepKind = kind;
    m_stepBefore = snapshot();
    m_stepFirstShow = !m_state.LayoutControlsReady;
}

void LayoutDocument::endStep() {
    if (--m_stepDepth > 0)
        return;
    // The controls showing a step put back make no step of their own.
    if (m_puttingBack)
        return;
    const bool load = m_stepKind == StepKind::Load;
    Snapshot before = m_stepBefore;
    Snapshot after = snapshot();
    m_recorded = after.content;
    m_burstFields = 0;
    if (load && m_stepFirstShow) {
        // Nothing was shown before the first layout: there is nothing to go
        // back to, and the layout as loaded is where its changes start.
        m_history.clear();
        return;
    }
    if (!load) {
        // A change of the values leaves the layout's file alone.
        before.folder = after.folder = QString();
        before.fileName = after.fileName = QString();
    }
    if (before == after)
        return;
    m_history.push(new HistoryStep(*this, before, after, load, 0, false));
    if (load) {
        // A layout just put in place is unchanged, unless it kept changes.
        if (!m_state.LayoutModified)
            m_history.setClean();
        return;
    }
    if (assign(m_state.LayoutModified, !m_history.isClean()))
        announce(Change::Modified);
}

LayoutDocument::Changes LayoutDocument::recordEdit() {
    const LayoutFileContent now = content();
    if (sameContent(now, m_recorded))
        return {};
    // Values set while no controls show them (the layout being set up or
    // shown) are where the seller's changes start, not one of them.
    if (!m_state.LayoutControlsReady) {
        m_recorded = now;
        return {};
    }
    const int fields = numberFieldsChanged(m_recorded, now);
    const bool joinsBurst = fields != 0 && fields == m_burstFields && m_burstClock.isValid() &&
                            m_burstClock.elapsed() <= burstPauseMs;
    const Snapshot before{m_recorded, {}, {}};
    const Snapshot after{now, {}, {}};
    m_recorded = now;
    m_burstFields = fields;
    m_burstClock.start();
    m_history.push(new HistoryStep(*this, before, after, false, fields, joinsBurst));
    // Typed back to where it was saved, the layout is unchanged again.
    if (assign(m_state.LayoutModified, !m_history.isClean()))
        return Change::Modified;
    return {};
}

void LayoutDocument::putBack(const Snapshot& shown, bool withFile, bool clean) {
    const QScopedValueRollback<bool> puttingBack(m_puttingBack, true);
    m_layout = shown.content.layout;
    m_allMargins = shown.content.TxtAllMargins;
    Changes what = valuesChanged() | Change::Loaded | Change::History;
    if (withFile && (assign(m_state.LayoutFolder, shown.folder) |
                     assign(m_state.LayoutFileName, shown.fileName)))
        what |= Change::File;
    for (Picture picture : {Picture::Ad, Picture::Frame, Picture::Text}) {
        if (assign(hintOf(picture), imageHint(m_layout.*pathField(picture))))
            what |= Change::Pictures;
    }
    if (assign(m_state.LayoutModified, !clean))
        what |= Change::Modified;
    // Until the controls show all of it, no reaction of theirs may capture
    // them half set over it.
    const bool ready = m_state.LayoutControlsReady;
    if (assign(m_state.LayoutControlsReady, false))
        what |= Change::Loading;
    m_burstFields = 0;
    // The controls show it and capture it for the preview; what they keep
    // is where the next change starts from.
    announce(what);
    setControlsReady(ready);
    m_recorded = content();
}
