#include "document/documenttools.h"

#include "document/toolpictures.h"

#include "editor/edactionlist.h"
#include "editor/tedaction.h"
#include "ui/themecolors.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QStyleOptionToolButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

namespace {

/// One tool button: its name, the action it runs, its picture in the icon
/// theme and its hint. A row without a name separates buttons; a row with
/// only a caption is a label over the next buttons; a row with only `icon`
/// "break" starts a new line of buttons.
struct ToolRow {
    const char* name;
    const char* action;
    const char* icon;
    const char* hint;
};

constexpr ToolRow kSeparator{nullptr, nullptr, nullptr, nullptr};
constexpr ToolRow kNewLine{nullptr, nullptr, "break", nullptr};
constexpr ToolRow label(const char* name, const char* caption) {
    return {name, nullptr, nullptr, caption};
}

struct ToolGroup {
    const char* name;
    const char* caption;
    std::vector<ToolRow> rows;
};

const std::vector<ToolGroup>& toolGroups() {
    static const std::vector<ToolGroup> groups = {
        {"gbxDocTools",
         " Document tools  ",
         {
             {"tobSelectAll", "edActionSelectAll1", "edit-select-all", "Select all (Ctrl+A)"},
             kSeparator,
             {"tobCut", "edActionCut1", "edit-cut", "Cut (Ctrl+X)"},
             {"tobCopy", "edActionCopy1", "edit-copy", "Copy (Ctrl+C)"},
             {"tobPaste", "edActionPaste1", "edit-paste", "Paste (Ctrl+V)"},
             kSeparator,
             {"tobUndo", "edActionUndo1", "edit-undo", "Undo (Ctrl+Z)"},
             {"tobRedo", "edActionRedo1", "edit-redo", "Redo (Ctrl+Y)"},
             kSeparator,
             {"tobSearch", "edActionFind1", "edit-find", "Find text (Ctrl+F)"},
             {"tobReplace", "edActionReplace1", "edit-find-replace", "Replace text (Ctrl+H)"},
             kNewLine,
             {"tobPreview", "edActionPrintPreview1", "document-print-preview",
              "Print preview of the document"},
             {"tobQuickPrint", "edActionPrint1", "document-print", "Print the document (Ctrl+P)"},
         }},
        {"gbxTextFormat",
         " Text formatting ",
         {
             {"tobBold", "edActionFontBold1", "format-text-bold", "Bold (Ctrl+B)"},
             {"tobItalic", "edActionFontItalic1", "format-text-italic", "Italic (Ctrl+I)"},
             {"tobUnderline", "edActionFontUnderline1", "format-text-underline",
              "Underline (Ctrl+U)"},
             {"tobStrikeout", "edActionFontStrikeout1", "format-text-strikethrough", "Strike out"},
             {"tobOverline", "edActionFontOverline1", "overline", "Line over the text"},
             kSeparator,
             {"tobGrow", "edActionFontGrowOnePoint1", "format-font-size-more",
              "Larger text (one point)"},
             {"tobShrink", "edActionFontShrinkOnePoint1", "format-font-size-less",
              "Smaller text (one point)"},
             kSeparator,
             {"tobTextCol", "edActionFontColor1", "format-text-color", "Text colour"},
             {"tobBgTextCol", "edActionFontBackColor1", "draw-highlight", "Text background colour"},
         }},
        {"gbxParaFormat",
         " Paragraph formatting ",
         {
             {"tobLeft", "edActionAlignLeft1", "format-justify-left", "Align left"},
             {"tobCenter", "edActionAlignCenter", "format-justify-center", "Centre"},
             {"tobRight", "edActionAlignRight1", "format-justify-right", "Align right"},
             {"tobJustify", "edActionAlignJustify1", "format-justify-fill", "Justify"},
             kSeparator,
             {"tobBullets", "edActionParaBullets1", "format-list-unordered", "Bullets"},
             {"tobNumbering", "edActionParaNumbering1", "format-list-ordered", "Numbering"},
             kSeparator,
             {"tobDecIndent", "edActionIndentDec1", "format-indent-less", "Decrease indent"},
             {"tobIncIndent", "edActionIndentInc1", "format-indent-more", "Increase indent"},
             kNewLine,
             {"tobParaBackColor", "edActionParaColor1", "format-fill-color",
              "Paragraph background colour"},
             {"tobHorLine", "edActionInsertHLine1", "insert-horizontal-rule",
              "Insert a horizontal line"},
         }},
        {"gbxTables",
         " Tables ",
         {
             {"tobInsertTable", "edActionInsertTable1", "insert-table",
              "Insert a table (the arrow picks its size)"},
             {"tobDeleteTable", "edActionTableDeleteTable1", "edit-delete", "Delete the table"},
             {"tobTableProperties", "edActionTableProperties1", "document-properties",
              "Table properties"},
             label("lblColsRows", "Columns & rows"),
             {"tobInsertColLeft", "edActionTableInsertColLeft1", "edit-table-insert-column-left",
              "Insert a column on the left"},
             {"tobInsertColRight", "edActionTableInsertColRight1", "edit-table-insert-column-right",
              "Insert a column on the right"},
             {"tobDeleteCol", "edActionTableDeleteCols1", "edit-table-delete-column",
              "Delete the column(s)"},
             {"tobInsertRowAbove", "edActionTableInsertRowsAbove1", "edit-table-insert-row-above",
              "Insert a row above"},
             {"tobInsertRowBelow", "edActionTableInsertRowsBelow1", "edit-table-insert-row-below",
              "Insert a row below"},
             {"tobDeleteRow", "edActionTableDeleteRows1", "edit-table-delete-row",
              "Delete the row(s)"},
             {"tobMergeCells", "edActionTableMergeCells1", "edit-table-cell-merge",
              "Merge the selected cells"},
             {"tobSplitCells", "edActionTableSplitCells1", "edit-table-cell-split",
              "Split the cell"},
             label("lblCellBorders", "Cell(s) borders"),
             {"tobBorderLeft", "edActionTableCellLeftBorder1", "format-border-set-left",
              "Left border of the cell(s)"},
             {"tobBorderRight", "edActionTableCellRightBorder1", "format-border-set-right",
              "Right border of the cell(s)"},
             {"tobBorderTop", "edActionTableCellTopBorder1", "format-border-set-top",
              "Top border of the cell(s)"},
             {"tobBorderBottom", "edActionTableCellBottomBorder1", "format-border-set-bottom",
              "Bottom border of the cell(s)"},
             {"tobAllBorders", "edActionTableCellAllBorders1", "format-border-set-all",
              "All borders of the cell(s)"},
             {"tobNoBorder", "edActionTableCellNoBorders1", "format-border-set-none",
              "No borders on the cell(s)"},
             label("lblCellVAlign", "Cell(s) content vertical position"),
             {"tobVertAlignCenter", "edActionTableCellVAlignMiddle1",
              "format-align-vertical-center", "Content in the middle of the cell(s)"},
             {"tobVertAlignTop", "edActionTableCellVAlignTop1", "format-align-vertical-top",
              "Content at the top of the cell(s)"},
             {"tobVertAlignBottom", "edActionTableCellVAlignBottom1",
              "format-align-vertical-bottom", "Content at the bottom of the cell(s)"},
             {"tobVertAlignDefault", "edActionTableCellVAlignDefault1", "align-vertical-baseline",
              "Default vertical position of the content"},
         }},
        {"gbxImagesLinks",
         " Images && Links ",
         {
             {"tobInsertImage", "edActionInsertPicture1", "insert-image",
              "Insert a picture from a file"},
             {"tobInsertLink", "edActionInsertHyperlink1", "insert-link", "Insert a link"},
         }},
    };
    return groups;
}

constexpr int toolPictureSize = 22;

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    // As tall as the pictures it separates, in the layout's own pixels.
    line->setFixedSize(6, toolPictureSize);
    return line;
}

/// The button follows its action's enabled and checked state and runs it
/// when clicked; the hint and picture are the button's own so that the
/// language files can replace them.
void bind(QToolButton* button, QAction* action, const QString& hint) {
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIconSize(QSize(toolPictureSize, toolPictureSize));
    button->setFocusPolicy(Qt::NoFocus);
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setCheckable(action->isCheckable());
        if (action->isCheckable())
            button->setChecked(action->isChecked());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QToolButton::clicked, action, [action, follow] {
        action->trigger();
        follow();
    });
}

} // namespace

bool DropDownToolButton::onArrow(const QPoint& point) const {
    QStyleOptionToolButton option;
    initStyleOption(&option);
    return style()
        ->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this)
        .contains(point);
}

void DropDownToolButton::mousePressEvent(QMouseEvent* event) {
    m_arrowPressed = event->button() == Qt::LeftButton && onArrow(event->position().toPoint());
    if (m_arrowPressed) {
        event->accept();
        return;
    }
    QToolButton::mousePressEvent(event);
}

void DropDownToolButton::mouseReleaseEvent(QMouseEvent* event) {
    // What drops below opens once the button is let go, so that this
    // release does not reach it as a click.
    if (std::exchange(m_arrowPressed, false)) {
        event->accept();
        if (onArrow(event->position().toPoint()))
            emit arrowClicked();
        return;
    }
    QToolButton::mouseReleaseEvent(event);
}

const QStringList& DocumentTools::fontNames() {
    static const QStringList names = {
        QStringLiteral("Arial"),
        QStringLiteral("Verdana"),
        QStringLiteral("Tahoma"),
        QStringLiteral("Trebuchet MS"),
        QStringLiteral("MS Sans Serif"),
        QStringLiteral("Comic Sans MS"),
        QStringLiteral("Courier New"),
        QStringLiteral("Lucida Console"),
        QStringLiteral("Times New Roman"),
        QStringLiteral("MS Serif"),
        QStringLiteral("Georgia"),
        QStringLiteral("Book Antiqua"),
        QStringLiteral("Palatino Linotype"),
        QStringLiteral("Arial Black"),
        QStringLiteral("Impact"),
        QStringLiteral("Arial Unicode MS"),
    };
    return names;
}

QString toolIconTheme(const QPalette& palette) {
    return themecolors::isDark(palette) ? QStringLiteral("breeze-dark") : QStringLiteral("breeze");
}

void useToolIconTheme() {
    // The desktop's own theme may lack editing pictures or draw them in
    // another style: the program always uses the one set it is installed
    // with, in the variant drawn for the window's colours.
    const QString theme = toolIconTheme(QGuiApplication::palette());
    if (QIcon::themeName() != theme)
        QIcon::setThemeName(theme);
    // Without a desktop platform (offscreen) Qt does not look in the system's
    // icon folders by itself.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory)) {
        if (!paths.contains(folder))
            paths.append(folder);
    }
    if (paths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(paths);
}

DocumentTools::DocumentTools(EdActionList& actions, QWidget* parent)
    : QWidget(parent) {
    useToolIconTheme();
    setObjectName(QStringLiteral("pnlDocTools"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* fonts = new QHBoxLayout;
    EdFontName = new QComboBox(this);
    EdFontName->setObjectName(QStringLiteral("EdFontName"));
    EdFontName->setEditable(true);
    EdFontName->setInsertPolicy(QComboBox::NoInsert);
    EdFontName->addItems(fontNames());
    EdFontName->setCurrentIndex(-1);
    EdFontName->setEditText(QStringLiteral("Arial"));
    EdFontName->setToolTip(QStringLiteral("Font name"));
    cbxFontSize = new QComboBox(this);
    cbxFontSize->setObjectName(QStringLiteral("cbxFontSize"));
    cbxFontSize->setEditable(true);
    cbxFontSize->setInsertPolicy(QComboBox::NoInsert);
    cbxFontSize->setFocusPolicy(Qt::ClickFocus); // skipped by the Tab key
    cbxFontSize->setToolTip(QStringLiteral("Font size in points (1 to 999)"));
    cbxFontSize->setFixedWidth(58);
    fillFontSizes(QStringLiteral("Arial"));
    cbxFontSize->setEditText(QStringLiteral("10"));
    fonts->addWidget(EdFontName, 1);
    fonts->addWidget(cbxFontSize);
    column->addLayout(fonts);

    for (const ToolGroup& group : toolGroups()) {
        for (const ToolRow& row : group.rows) {
            if (row.name && row.action)
                m_pictureNames.append(QLatin1String(row.icon));
        }
    }

    QGroupBox* box = nullptr;
    QVBoxLayout* lines = nullptr;
    for (const ToolGroup& group : toolGroups()) {
        box = new QGroupBox(QString::fromUtf8(group.caption), this);
        box->setObjectName(QLatin1String(group.name));
        lines = new QVBoxLayout(box);
        lines->setContentsMargins(4, 2, 4, 4);
        lines->setSpacing(1);
        QHBoxLayout* line = nullptr;
        const auto newLine = [&] {
            line = new QHBoxLayout;
            line->setSpacing(0);
            lines->addLayout(line);
        };
        newLine();
        for (const ToolRow& row : group.rows) {
            if (!row.name && row.icon) { // new line
                line->addStretch();
                newLine();
            } else if (!row.name) {
                line->addWidget(separator(box));
            } else if (!row.action) {
                line->addStretch();
                auto* caption = new QLabel(QString::fromUtf8(row.hint), box);
                caption->setObjectName(QLatin1String(row.name));
                lines->addWidget(caption);
                newLine();
            } else {
                const QString name = QLatin1String(row.name);
                QToolButton* button = nullptr;
                if (name == QLatin1String("tobInsertTable")) {
                    tobInsertTable = new DropDownToolButton(box);
                    pmFakeDropDown = new QMenu(tobInsertTable);
                    pmFakeDropDown->setObjectName(QStringLiteral("pmFakeDropDown"));
                    tobInsertTable->setMenu(pmFakeDropDown);
                    tobInsertTable->setPopupMode(QToolButton::MenuButtonPopup);
                    button = tobInsertTable;
                } else {
                    button = new QToolButton(box);
                }
                button->setObjectName(name);
                TedAction* action = actions.action(QString::fromLatin1(row.action));
                Q_ASSERT(action);
                bind(button, action, QString::fromUtf8(row.hint));
                line->addWidget(button);
                m_buttons.append(button);
                m_actions.append(action);
            }
        }
        line->addStretch();
        column->addWidget(box);
    }
    // The last group, pictures and links, ends with the note on following links.
    lblLinksInfo = new QLabel(QStringLiteral("Note : Ctrl-click links to launch browser"), box);
    lblLinksInfo->setObjectName(QStringLiteral("lblLinksInfo"));
    lblLinksInfo->setWordWrap(true);
    lines->addWidget(lblLinksInfo);
    column->addStretch();
    showPictures();
}

void DocumentTools::showPictures() {
    useToolIconTheme();
    const qreal ratio = devicePixelRatioF();
    if (QIcon::themeName() == m_pictureTheme && ratio == m_pictureRatio)
        return;
    m_pictureTheme = QIcon::themeName();
    m_pictureRatio = ratio;
    const QList<QIcon> pictures =
        toolpictures::load(m_pictureNames, toolPictureSize, ratio, toolpictures::cacheFile());
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setIcon(pictures.at(i));
        m_actions.at(i)->setIcon(pictures.at(i));
    }
}

void DocumentTools::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    const bool newColours =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
    if (newColours && !m_buttons.isEmpty())
        showPictures();
}

void DocumentTools::fillFontSizes(const QString& fontName) {
    const QString text = cbxFontSize->currentText();
    QList<int> sizes = QFontDatabase::pointSizes(fontName);
    if (sizes.isEmpty())
        sizes = QFontDatabase::standardSizes();
    const QSignalBlocker blocker(cbxFontSize);
    cbxFontSize->clear();
    for (int size : sizes)
        cbxFontSize->addItem(QString::number(size));
    cbxFontSize->setCurrentIndex(-1);
    cbxFontSize->setEditText(text);
}
