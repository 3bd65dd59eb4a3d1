#include "editor/tedactionfontex.h"

#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

#include <QFontDialog>

TedActionFontEx::TedActionFontEx(const QString& name, const QString& caption, TDocEditor& editor,
                                 QObject* parent)
    : TedAction(name, caption, editor.dialogs(), parent)
    , m_editor(editor) {
    setOwn([this] { apply(); });
}

void TedActionFontEx::apply() {
    int valid = ValidProperties;
    if (UserInterface) {
        const TTextStyleInfo& caret = m_editor.Style().TextStyles.at(m_editor.CaretTextStyle());
        QFontDialog dialog(QFont(caret.FontName, caret.Size), &m_editor);
        dialog.setObjectName(QStringLiteral("FontDialog"));
        if (m_editor.dialogs().runModal(dialog) != QDialog::Accepted)
            return;
        FontName = dialog.selectedFont().family();
        FontSize = qMax(1, dialog.selectedFont().pointSize());
        valid = vpFontName | vpSize;
    }
    if (m_editor.isReadOnly() || valid == 0)
        return;
    const QString name = FontName;
    const int size = qBound(1, FontSize, 1638);
    m_editor.changeTextStyle([valid, name, size](TTextStyleInfo& style) {
        if ((valid & vpFontName) && !name.isEmpty())
            style.FontName = name;
        if (valid & vpSize)
            style.Size = size;
    });
}
