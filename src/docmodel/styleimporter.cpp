#include "docmodel/styleimporter.h"

#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/runwalker.h"

#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace {

int mapped(const QList<int>& map, int index, int fallback) {
    return index >= 0 && index < map.size() ? map.at(index) : fallback;
}

QList<int> textStyleMap(const TTextStyleInfos& from, TTextStyleInfos& to) {
    QList<int> map(from.count(), 0);
    // Plain styles first, so link styles can name their plain style.
    for (int i = 0; i < from.count(); ++i) {
        if (!from.at(i).Jump)
            map[i] = to.findOrAppend(from.at(i));
    }
    for (int i = 0; i < from.count(); ++i) {
        if (!from.at(i).Jump)
            continue;
        TTextStyleInfo link = from.at(i);
        link.NonLinkStyleNo = mapped(map, link.NonLinkStyleNo, -1);
        map[i] = to.findOrAppend(link);
    }
    return map;
}

} // namespace

void StyleImporter::renumberInto(EdDocument& source, TDocStyle& target) {
    const TDocStyle& from = source.docStyle();
    const QList<int> textMap = textStyleMap(from.TextStyles, target.TextStyles);
    QList<int> paraMap(from.ParaStyles.count(), 0);
    for (int i = 0; i < from.ParaStyles.count(); ++i)
        paraMap[i] = target.ParaStyles.findOrAppend(from.ParaStyles.at(i));
    QList<int> listMap(from.ListStyles.count(), 0);
    for (int i = 0; i < from.ListStyles.count(); ++i)
        listMap[i] = target.ListStyles.findOrAppend(from.ListStyles.at(i));

    QTextDocument* text = source.textDocument();
    RunWalker::forEachCharFormat(text, [&textMap](const QTextCharFormat& format) {
        if (!format.hasProperty(docprop::StyleNo))
            return format;
        QTextCharFormat changed = format;
        changed.setProperty(docprop::StyleNo,
                            mapped(textMap, format.intProperty(docprop::StyleNo), 0));
        return changed;
    });
    QTextCursor cursor(text);
    QSet<QTextList*> lists;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setProperty(docprop::ParaNo,
                           mapped(paraMap, format.intProperty(docprop::ParaNo), 0));
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        if (block.textList())
            lists.insert(block.textList());
    }
    for (QTextList* list : lists) {
        QTextListFormat format = list->format();
        format.setProperty(docprop::ListNo,
                           mapped(listMap, format.intProperty(docprop::ListNo), 0));
        list->setFormat(format);
    }
}
