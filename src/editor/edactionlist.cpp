#include "editor/edactionlist.h"

#include "editor/edactiontable.h"
#include "editor/edprint.h"
#include "editor/tdoceditor.h"
#include "editor/tedactionfontex.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QTextTable>

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
    , m_files(files)
    , m_print(std::make_unique<TEdPrint>(*editor.document(), editor.dialogs(), &editor)) {
    setObjectName(QStringLiteral("ActionList1"));
    editor.setPageTextWidth(m_print->textWidth());
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
    // The signals come in the middle of an edit too (a table growing a
    // column), when asking the document about the caret is not safe yet:
    // the states are brought up to date once the event loop is back.
    m_updateTimer.setSingleShot(true);
    m_updateTimer.setInterval(0);
    connect(&m_updateTimer, &QTimer::timeout, this, &EdActionList::updateState);
    auto update = [this] { m_updateTimer.start(); };
    connect(&editor, &QTextEdit::cursorPositionChanged, this, update);
    connect(&editor, &QTextEdit::selectionChanged, this, update);
    connect(&editor, &QTextEdit::currentCharFormatChanged, this, update);
    connect(editor.document(), &QTextDocument::undoAvailable, this, update);
    connect(editor.document(), &QTextDocument::redoAvailable, this, update);
    connect(editor.document(), &QTextDocument::contentsChanged, this, update);
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            m_pasteAvailable.reset();
            m_mayAskClipboard = true;
            m_updateTimer.start();
        });
    }
    // Read-only changes arrive as events of the editor; context menus from
    // the mouse as events of its viewport, from the keyboard of the editor.
    editor.installEventFilter(this);
    editor.viewport()->installEventFilter(this);
    updateState();
}

EdActionList::~EdActionList() = default;

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
    if (row.handler) {
        // A program that runs the action's own behaviour directly cannot
        // change a read-only document either.
        action->setOwn([this, handler = row.handler, needs = row.needs] {
            if ((needs & NeedWritable) && m_editor.isReadOnly())
                return;
            handler(*this);
            updateState();
        });
    }
    if (row.unavailable)
        action->setToolTip(QString::fromUtf8(row.unavailable));
    action->setShortcuts(keySequences(row.keys));
    // Connected after the action's own work: whatever started it (a tool
    // button, a menu, a key in a box beside the editor) and whatever dialog
    // it opened, the seller goes on typing in the document.
    connect(action, &QAction::triggered, this, &EdActionList::returnKeyboardToEditor);
    return action;
}

void EdActionList::returnKeyboardToEditor() {
    // A hidden editor (another page on show) must not take the keyboard from
    // the page the seller works on.
    if (m_editor.isVisible() && m_editor.isEnabled())
        m_editor.setFocus(Qt::OtherFocusReason);
}

void EdActionList::updateState() {
    const QTextCursor cursor = m_editor.textCursor();
    const QTextTable* table = cursor.currentTable();
    const bool merged =
        table && (table->cellAt(cursor).rowSpan() > 1 || table->cellAt(cursor).columnSpan() > 1);
    unsigned have =
        NeedSelection * cursor.hasSelection() | NeedTable * (table != nullptr) |
        NeedCells * cursor.hasComplexSelection() | NeedMerged * merged |
        NeedUndo * m_editor.document()->isUndoAvailable() |
        NeedRedo * m_editor.document()->isRedoAvailable() | NeedPaste * pasteAvailable() |
        NeedPageBreak * EdDocument::hasPageBreak(cursor) | NeedWritable * !m_editor.isReadOnly();
    const std::vector<EdActionRow>& rows = edActionTable();
    for (int index = 0; index < m_actions.size(); ++index) {
        const EdActionRow& row = rows.at(std::size_t(index));
        TedAction* action = m_actions.at(index);
        action->setEnabled(!row.unavailable && (row.needs & have) == row.needs);
        if (row.checked)
            action->setChecked(row.checked(*this));
    }
}

bool EdActionList::pasteAvailable() {
    if (m_editor.isReadOnly())
        return false;
    // Asking the clipboard what it holds waits for the display server on
    // X11: it is asked again only once the clipboard has changed, and first
    // when the editor's window becomes active or the editor takes the focus
    // (or the clipboard changes), not while the window is still being made.
    if (!m_pasteAvailable) {
        if (!m_mayAskClipboard)
            return false;
        m_pasteAvailable = m_editor.canPaste();
    }
    return *m_pasteAvailable;
}

bool EdActionList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_editor && event->type() == QEvent::ReadOnlyChange)
        updateState();
    const bool reachable = event->type() == QEvent::FocusIn ||
                           (event->type() == QEvent::ActivationChange && m_editor.isActiveWindow());
    if (watched == &m_editor && reachable && !m_mayAskClipboard) {
        m_mayAskClipboard = true;
        m_updateTimer.start();
    }
    if ((watched == &m_editor || watched == m_editor.viewport()) &&
        event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QPoint point = watched == &m_editor
                                 ? m_editor.viewport()->mapFrom(&m_editor, menuEvent->pos())
                                 : menuEvent->pos();
        std::unique_ptr<QMenu> menu(createPopupMenu(point));
        menu->exec(menuEvent->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
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

QMenu* EdActionList::createPopupMenu(const QPoint& viewportPoint) {
    // The menu works on the clicked place: without a selection the caret
    // goes there first.
    const QTextCursor clicked = m_editor.cursorForPosition(viewportPoint);
    if (!m_editor.textCursor().hasSelection())
        m_editor.setTextCursor(clicked);
    QTextCursor item(m_editor.document());
    const int position = clicked.position();
    const bool pictureAt = [&] {
        for (int at : {position, position - 1}) {
            if (at < 0 || at + 1 >= m_editor.document()->characterCount())
                continue;
            item.setPosition(at);
            item.setPosition(at + 1, QTextCursor::KeepAnchor);
            if (item.charFormat().isImageFormat())
                return true;
        }
        return false;
    }();
    const bool linkAt =
        clicked.charFormat().isAnchor() && !clicked.charFormat().anchorHref().isEmpty();
    const QTextCursor caret = m_editor.textCursor();
    const bool inTable = caret.currentTable() != nullptr;
    const bool lineAt = EdDocument::hLineAt(caret) >= 0;
    updateState();

    auto* menu = new QMenu(&m_editor);
    menu->setObjectName(QStringLiteral("EdPopupMenu1"));
    auto add = [this](QMenu* to, std::initializer_list<const char*> names) {
        if (!to->actions().isEmpty())
            to->addSeparator();
        for (const char* name : names)
            to->addAction(action(QString::fromLatin1(name)));
    };
    // The submenus' access keys are letters no entry beside them uses.
    auto submenu = [menu](const QString& title) {
        QMenu* sub = menu->addMenu(title);
        sub->setObjectName(title);
        return sub;
    };
    add(menu, {"edActionCut1", "edActionCopy1", "edActionPaste1", "edActionPasteSpecial1"});
    if (pictureAt || lineAt)
        add(menu, {"edActionItemProperties1"});
    if (linkAt)
        add(menu, {"edActionInsertHyperlink1"});
    if (inTable) {
        add(menu, {"edActionTableProperties1", "edActionTableCellVAlignTop1",
                   "edActionTableCellVAlignMiddle1", "edActionTableCellVAlignBottom1",
                   "edActionTableCellVAlignDefault1", "edActionTableGrid1"});
        menu->addSeparator();
        add(submenu(QStringLiteral("Ro&ws and Columns")),
            {"edActionTableInsertRowsAbove1", "edActionTableInsertRowsBelow1",
             "edActionTableInsertColLeft1", "edActionTableInsertColRight1",
             "edActionTableDeleteRows1", "edActionTableDeleteCols1", "edActionTableDeleteTable1"});
        QMenu* cells = submenu(QStringLiteral("C&ells"));
        add(cells, {"edActionTableMergeCells1", "edActionTableSplitCells1", "edActionFillColor1"});
        add(cells, {"edActionTableSelectTable1", "edActionTableSelectRows1",
                    "edActionTableSelectCols1", "edActionTableSelectCell1"});
        add(submenu(QStringLiteral("Bo&rders")),
            {"edActionTableCellAllBorders1", "edActionTableCellNoBorders1",
             "edActionTableCellLeftBorder1", "edActionTableCellRightBorder1",
             "edActionTableCellTopBorder1", "edActionTableCellBottomBorder1"});
    }
    if (!pictureAt) {
        add(menu, {"edActionFonts1", "edActionParagraph1", "edActionParaList1"});
        menu->addSeparator();
        // The rest of the text's formatting, reached from here as from the
        // buttons beside the editor.
        QMenu* font = submenu(QStringLiteral("Te&xt Format"));
        add(font, {"edActionFontBold1", "edActionFontItalic1", "edActionFontUnderline1",
                   "edActionFontStrikeout1", "edActionFontOverline1", "edActionFontAllCaps1"});
        add(font, {"edActionFontGrow1", "edActionFontShrink1", "edActionFontGrowOnePoint1",
                   "edActionFontShrinkOnePoint1", "edActionFontColor1", "edActionFontBackColor1",
                   "edActionCharCase1"});
        QMenu* paragraph = submenu(QStringLiteral("Paragraph Layo&ut"));
        add(paragraph, {"edActionAlignLeft1", "edActionAlignCenter", "edActionAlignRight1",
                        "edActionAlignJustify1"});
        add(paragraph, {"edActionIndentInc1", "edActionIndentDec1", "edActionLineSpacing1001",
                        "edActionLineSpacing1501", "edActionLineSpacing2001"});
        add(paragraph, {"edActionParaBullets1", "edActionParaNumbering1", "edActionParaColor1",
                        "edActionParaBorder1"});
        add(paragraph,
            {"edActionParaLTR1", "edActionParaRTL1", "edActionTextLTR1", "edActionTextRTL1"});
    }
    if (!pictureAt && !linkAt)
        add(menu, {"edActionInsertHyperlink1"});
    QMenu* insert = submenu(QStringLiteral("&Insert"));
    add(insert, {"edActionInsertPicture1", "edActionInsertTable1", "edActionInsertHLine1",
                 "edActionInsertSymbol1", "edActionInsertFile1", "edActionInsertPageBreak1"});
    if (EdDocument::hasPageBreak(caret))
        add(insert, {"edActionRemovePageBreak1"});
    QMenu* document = submenu(QStringLiteral("D&ocument"));
    add(document, {"edActionColor1", "edActionBackground1", "edActionWordWrap1",
                   "edActionShowSpecialCharacters1"});
    add(document,
        {"edActionExport1", "edActionPrintPreview1", "edActionQuickPrint1", "edActionPageSetup1"});
    return menu;
}
