// The link operations of TDocEditor: typed addresses, following links, the
// link dialog and the link style of the style sheet.
#include "docmodel/docproperties.h"
#include "docmodel/linkdetection.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QUrl>

QString TDocEditor::NormalizeLinkTarget(const QString& text) {
    return linkdetection::NormalizeLinkTarget(text);
}

int TDocEditor::LinkStyleIndex(int baseStyleNo) {
    const int base = baseStyleNo < 0 ? CaretTextStyle() : baseStyleNo;
    TTextStyleInfos& styles = Style().TextStyles;
    TTextStyleInfo link = styles.at(base);
    // The look of links made by the editor: blue and underlined.
    link.Color = QColor(0, 0, 255);
    link.Style |= TTextStyleInfo::fsUnderline;
    link.Jump = true;
    const int found = styles.indexOfLook(link);
    if (found >= 0)
        return found;
    link.NonLinkStyleNo = base;
    styles.add(link);
    return styles.count() - 1;
}

void TDocEditor::DetectLinkBeforeCaret() {
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    const int caret = cursor.position();
    const QTextCharFormat format = cursor.charFormat();
    if (format.isImageFormat() || !format.hasProperty(docprop::StyleNo) ||
        Style().TextStyles.at(format.intProperty(docprop::StyleNo)).Jump)
        return;
    // The run the caret is in: its text up to the caret.
    const QTextBlock block = cursor.block();
    QString before;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.position() < caret && caret <= fragment.position() + fragment.length()) {
            before = fragment.text().left(caret - fragment.position());
            break;
        }
    }
    linkdetection::DetectedLink link;
    if (before.size() < 2 || !linkdetection::detect(before, link))
        return;
    const int runStart = caret - static_cast<int>(before.size());
    const int styleNo = LinkStyleIndex(-1);
    cursor.setPosition(runStart + link.start);
    cursor.setPosition(runStart + link.end, QTextCursor::KeepAnchor);
    cursor.setCharFormat(m_document->runFormat(styleNo, link.target));
    cursor.setPosition(caret);
    setTextCursor(cursor);
    setCurrentCharFormat(format);
}

void TDocEditor::EndLinkAtCaret() {
    if (isReadOnly())
        return;
    const QTextCursor cursor = textCursor();
    const QTextCharFormat format = cursor.charFormat();
    const TTextStyleInfo& style = Style().TextStyles.at(format.intProperty(docprop::StyleNo));
    if (!style.Jump || !format.hasProperty(docprop::StyleNo))
        return;
    // At the end of the link: the next character is not part of it.
    if (!cursor.atBlockEnd() && formatAt(cursor.position()) == format)
        return;
    setCurrentCharFormat(m_document->runFormat(qMax(0, style.NonLinkStyleNo)));
}

void TDocEditor::FollowLink(int id) {
    const QString target = formatAt(id).stringProperty(docprop::Tag);
    const QString address = linkdetection::allowedLinkAddress(target);
    if (address.startsWith(QLatin1Char('#'))) {
        const QString name = address.mid(1);
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.objectType() == docprop::AnchorObject &&
                    format.stringProperty(docprop::AnchorName) == name) {
                    QTextCursor cursor(document());
                    cursor.setPosition(it.fragment().position());
                    setTextCursor(cursor);
                    ensureCursorVisible();
                    return;
                }
            }
        }
    } else if (address.isEmpty() && !target.trimmed().isEmpty()) {
        // A received document's link must not launch a program or open a
        // local file through the desktop.
        m_dialogs.showMessage(QStringLiteral("\"%1\" is not opened: only web (http, https, ftp) "
                                             "and e-mail (mailto) links and links to places in "
                                             "the document are followed.")
                                  .arg(target),
                              UserDialogs::Icon::Warning, QStringLiteral("Link not opened"));
        return;
    } else if (!address.isEmpty() && m_dialogs.openUrl(QUrl(address))) {
        return;
    }
    m_dialogs.showMessage(QStringLiteral("Cannot navigate to \"%1\"").arg(target),
                          UserDialogs::Icon::Warning, QStringLiteral("Error"));
}

int TDocEditor::linkAt(const QPoint& point) const {
    const QPoint inDocument =
        point + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int position = document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (position < 0)
        return -1;
    const QTextCharFormat format = formatAt(position);
    const bool link =
        format.isImageFormat()
            ? format.boolProperty(docprop::PictureJump)
            : format.hasProperty(docprop::StyleNo) &&
                  m_document->docStyle().TextStyles.at(format.intProperty(docprop::StyleNo)).Jump;
    return link ? position : -1;
}

void TDocEditor::insertHyperlink(const QString& text, const QString& target) {
    if (isReadOnly() || target.isEmpty())
        return;
    QTextCursor cursor = textCursor();
    const int base = CaretTextStyle();
    const int styleNo = LinkStyleIndex(base);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    m_document->insertText(cursor, text.isEmpty() ? target : text, styleNo,
                           NormalizeLinkTarget(target));
    cursor.endEditBlock();
    setTextCursor(cursor);
    setCurrentCharFormat(m_document->runFormat(base));
}

void TDocEditor::insertHyperlinkFromDialog() {
    HyperlinkDialog dialog(this);
    QFont font = dialog.font();
    font.setFamily(m_controlPanel.DialogFontName);
    dialog.setFont(font);
    dialog.setText(textCursor().selectedText());
    if (m_dialogs.runModal(dialog) != QDialog::Accepted)
        return;
    insertHyperlink(dialog.text(), dialog.target());
}

void TDocEditor::readHyperlink(const QString& target, TEdLoadFormat format, int& styleNo,
                               QString& tag) {
    QString itemName;
    tag = NormalizeLinkTarget(target);
    if (OnReadHyperlink)
        OnReadHyperlink(target, QString(), format, styleNo, tag, itemName);
}
