#include "docmodel/stylerenumberer.h"

#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/runwalker.h"

#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace {

int mapped(const QList<int>& map, int index) {
    return index >= 0 && index < map.size() ? map.at(index) : -1;
}

template <typename List>
void removeUnmapped(List& list, const QList<int>& map) {
    for (int i = static_cast<int>(map.size()) - 1; i >= 0; --i) {
        if (map.at(i) < 0)
            list.removeAt(i);
    }
}

} // namespace

QList<int> StyleRenumberer::renumbering(int count, const QSet<int>& used) {
    QList<int> map(count, -1);
    int next = 0;
    for (int i = 0; i < count; ++i) {
        if (used.contains(i))
            map[i] = next++;
    }
    if (next == count)
        return {};
    if (m_beforeFirstChange) {
        m_beforeFirstChange();
        m_beforeFirstChange = nullptr;
    }
    return map;
}

void StyleRenumberer::removeUnusedTextStyles() {
    TTextStyleInfos& styles = m_document.docStyle().TextStyles;
    QSet<int> used;
    RunWalker::forEachCharFormat(m_document.textDocument(), [&used](const QTextCharFormat& format) {
        if (format.hasProperty(docprop::StyleNo))
            used.insert(format.intProperty(docprop::StyleNo));
        return format;
    });
    // A link style in use needs the style its text returns to after the link.
    for (int styleNo : QSet<int>(used)) {
        const int nonLink = styles.at(styleNo).NonLinkStyleNo;
        if (styles.at(styleNo).Jump && nonLink >= 0)
            used.insert(nonLink);
    }
    const QList<int> map = renumbering(styles.count(), used);
    if (map.isEmpty())
        return;
    removeUnmapped(styles, map);
    for (int i = 0; i < styles.count(); ++i) {
        TTextStyleInfo* style = styles.item(i);
        style->NonLinkStyleNo = mapped(map, style->NonLinkStyleNo);
    }
    RunWalker::forEachCharFormat(m_document.textDocument(), [&map](const QTextCharFormat& format) {
        if (!format.hasProperty(docprop::StyleNo))
            return format;
        QTextCharFormat changed = format;
        changed.setProperty(docprop::StyleNo,
                            qMax(0, mapped(map, format.intProperty(docprop::StyleNo))));
        return changed;
    });
}

void StyleRenumberer::removeUnusedParaStyles() {
    QTextDocument* text = m_document.textDocument();
    QSet<int> used;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next())
        used.insert(block.blockFormat().intProperty(docprop::ParaNo));
    TParaStyleInfos& styles = m_document.docStyle().ParaStyles;
    const QList<int> map = renumbering(styles.count(), used);
    if (map.isEmpty())
        return;
    removeUnmapped(styles, map);
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setProperty(docprop::ParaNo,
                           qMax(0, mapped(map, format.intProperty(docprop::ParaNo))));
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

void StyleRenumberer::removeUnusedListStyles() {
    QTextDocument* text = m_document.textDocument();
    QList<QTextList*> lists;
    QSet<int> used;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        QTextList* list = block.textList();
        if (list && !lists.contains(list)) {
            lists.append(list);
            used.insert(list->format().intProperty(docprop::ListNo));
        }
    }
    TListInfos& styles = m_document.docStyle().ListStyles;
    const QList<int> map = renumbering(styles.count(), used);
    if (map.isEmpty())
        return;
    removeUnmapped(styles, map);
    for (QTextList* list : lists) {
        QTextListFormat format = list->format();
        format.setProperty(docprop::ListNo,
                           qMax(0, mapped(map, format.intProperty(docprop::ListNo))));
        list->setFormat(format);
    }
}
