#include "editor/importadopter.h"

#include "editor/docproperties.h"

#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace {

struct Run {
    int from;
    int to;
    QTextCharFormat format;
};

QList<Run> runsBetween(QTextDocument* text, int from, int to) {
    QList<Run> runs;
    for (QTextBlock block = text->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = qMax(from, fragment.position());
            const int end = qMin(to, fragment.position() + fragment.length());
            if (start < end)
                runs.append(Run{start, end, fragment.charFormat()});
        }
    }
    return runs;
}

} // namespace

ImportAdopter::ImportAdopter(EdDocument& document,
                             const EdDocument::ReadHyperlinkHandler& readHyperlink,
                             const EdDocument::PictureResolver& resolvePicture)
    : m_document(document)
    , m_readHyperlink(readHyperlink)
    , m_resolvePicture(resolvePicture) {}

void ImportAdopter::adopt(int from, int to) {
    QTextCursor cursor(m_document.textDocument());
    cursor.beginEditBlock();
    adoptBlocks(from, to);
    adoptLists(from, to);
    adoptRuns(from, to);
    cursor.endEditBlock();
}

void ImportAdopter::adoptBlocks(int from, int to) {
    TDocStyle& style = m_document.docStyle();
    QTextCursor cursor(m_document.textDocument());
    for (QTextBlock block = m_document.textDocument()->findBlock(from);
         block.isValid() && block.position() <= to; block = block.next()) {
        cursor.setPosition(block.position());
        const QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(docprop::ParaNo)) {
            QTextBlockFormat adopted =
                style.blockFormat(style.ParaStyles.findOrAppend(TDocStyle::paraStyleOf(format)));
            docprop::keepBlockKind(format, adopted);
            cursor.setBlockFormat(adopted);
        }
        if (!block.charFormat().hasProperty(docprop::StyleNo))
            cursor.setBlockCharFormat(
                docprop::blockRunFormat(block.charFormat(), adoptedRun(block.charFormat())));
    }
}

void ImportAdopter::adoptLists(int from, int to) {
    TDocStyle& style = m_document.docStyle();
    QSet<QTextList*> done;
    for (QTextBlock block = m_document.textDocument()->findBlock(from);
         block.isValid() && block.position() <= to; block = block.next()) {
        QTextList* list = block.textList();
        if (!list || done.contains(list))
            continue;
        done.insert(list);
        const QTextListFormat format = list->format();
        if (format.hasProperty(docprop::ListNo))
            continue;
        const int listNo = style.ListStyles.findOrAppend(TDocStyle::listStyleOf(format));
        list->setFormat(style.listFormat(listNo, qBound(0, format.indent() - 1, 8)));
    }
}

void ImportAdopter::adoptRuns(int from, int to) {
    QTextCursor cursor(m_document.textDocument());
    const QList<Run> runs = runsBetween(m_document.textDocument(), from, to);
    // Backwards, so that anchors inserted at a run do not move the others.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        const QTextCharFormat& format = it->format;
        if (format.objectType() == docprop::AnchorObject)
            continue;
        const bool adopt = format.isImageFormat() || !format.hasProperty(docprop::StyleNo);
        if (adopt) {
            cursor.setPosition(it->from);
            cursor.setPosition(it->to, QTextCursor::KeepAnchor);
            cursor.setCharFormat(format.isImageFormat() ? adoptedPicture(format.toImageFormat())
                                                        : adoptedRun(format));
        }
        if (format.isImageFormat() || format.objectType() == docprop::AnchorObject)
            continue;
        const QStringList names = format.anchorNames();
        for (auto name = names.crbegin(); name != names.crend(); ++name) {
            cursor.setPosition(it->from);
            m_document.insertAnchor(cursor, *name);
        }
    }
}

QTextCharFormat ImportAdopter::adoptedRun(const QTextCharFormat& format) {
    TDocStyle& style = m_document.docStyle();
    const TTextStyleInfo look = TDocStyle::textStyleOf(format, style.TextStyles.at(0));
    if (!look.Jump)
        return m_document.runFormat(style.TextStyles.findOrAppend(look));
    int styleNo = linkStyleFor(look);
    QString tag = format.anchorHref();
    if (m_readHyperlink)
        m_readHyperlink(format.anchorHref(), styleNo, tag);
    return m_document.runFormat(styleNo, tag);
}

int ImportAdopter::linkStyleFor(const TTextStyleInfo& look) {
    TTextStyleInfos& styles = m_document.docStyle().TextStyles;
    const int found = styles.indexOfLook(look);
    if (found >= 0)
        return found;
    // The text after a link goes back to the plain look of the paragraph.
    TTextStyleInfo plain = look;
    plain.Jump = false;
    plain.Style &= ~TTextStyleInfo::fsUnderline;
    plain.Color = styles.at(0).Color;
    TTextStyleInfo link = look;
    link.NonLinkStyleNo = styles.findOrAppend(plain);
    styles.add(link);
    return styles.count() - 1;
}

QTextCharFormat ImportAdopter::adoptedPicture(const QTextImageFormat& format) {
    DocPicture picture;
    if (format.hasProperty(docprop::PictureBytes)) {
        picture = DocPicture::fromFormat(format);
    } else {
        const QString source = format.name();
        if (!m_resolvePicture || !m_resolvePicture(source, picture))
            picture.fileName = source;
        if (format.width() > 0)
            picture.width = qRound(format.width());
        if (format.height() > 0)
            picture.height = qRound(format.height());
        if (format.isAnchor() && !format.anchorHref().isEmpty()) {
            int styleNo = -1;
            picture.jump = true;
            picture.tag = format.anchorHref();
            if (m_readHyperlink)
                m_readHyperlink(format.anchorHref(), styleNo, picture.tag);
        }
    }
    m_document.registerPicture(picture);
    return picture.toFormat();
}
