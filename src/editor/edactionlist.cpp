#include "editor/edactionlist.h"

#include "editor/edactiontable.h"
#include "editor/tdoceditor.h"
#include "editor/tedactionfontex.h"

#include <QKeySequence>

namespace {

QList<QKeySequence> keySequences(const EdActionKeys& keys) {
    QList<QKeySequence> sequences;
    for (const char* key : {keys.primary, keys.second}) {
        if (key)
            sequences.append(QKeySequence::fromString(QLatin1String(key)));
    }
    return sequences;
}

} // namespace

EdActionList::EdActionList(TDocEditor& editor, EdFileCommands& files, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
    , m_files(files) {
    setObjectName(QStringLiteral("ActionList1"));
    for (const EdActionRow& row : edActionTable()) {
        TedAction* action = create(row);
        // The keys work from anywhere in the editor's window, so from the
        // buttons and font boxes beside the editor too. They cannot reach
        // another page of that window: Qt ignores the shortcuts of a hidden
        // widget. A focused text field still keeps the editing keys it claims
        // for itself (copy, paste, undo), so they do not clash with it.
        action->setShortcutContext(Qt::WindowShortcut);
        editor.addAction(action);
        m_actions.append(action);
    }
}

TedAction* EdActionList::create(const EdActionRow& row) {
    const QString name = QLatin1String(row.name);
    const QString caption = QString::fromUtf8(row.caption);
    TedAction* action = nullptr;
    switch (row.kind) {
    case EdActionKind::Plain:
    case EdActionKind::Checkable:
        action = new TedAction(name, caption, m_editor.dialogs(), this);
        break;
    case EdActionKind::FontEx:
        action = new TedActionFontEx(name, caption, m_editor, this);
        break;
    }
    action->setCheckable(row.kind == EdActionKind::Checkable);
    if (row.handler)
        action->setOwn([this, handler = row.handler] { handler(*this); });
    action->setShortcuts(keySequences(row.keys));
    return action;
}

TedAction* EdActionList::action(QStringView objectName) const {
    for (TedAction* action : m_actions) {
        if (action->objectName() == objectName)
            return action;
    }
    return nullptr;
}

TedActionFontEx* EdActionList::fontAction() const {
    for (TedAction* action : m_actions) {
        if (auto* font = qobject_cast<TedActionFontEx*>(action))
            return font;
    }
    return nullptr;
}
