#include "docmodel/runwalker.h"

#include "docmodel/docproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

struct Range {
    int from;
    int to;
    QTextCharFormat format;
};

QList<Range> collectRuns(QTextDocument* document, int from, int to, bool objectsToo) {
    QList<Range> runs;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!objectsToo &&
                (format.isImageFormat() || format.objectType() == docprop::AnchorObject))
                continue;
            const int start = qMax(from, fragment.position());
            const int end = qMin(to, fragment.position() + fragment.length());
            if (start < end)
                runs.append(Range{start, end, format});
        }
    }
    return runs;
}

void apply(QTextDocument* document, const QList<Range>& runs,
           const RunWalker::Transform& transform) {
    QTextCursor cursor(document);
    for (const Range& run : runs) {
        const QTextCharFormat changed = transform(run.format);
        if (changed == run.format)
            continue;
        cursor.setPosition(run.from);
        cursor.setPosition(run.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(changed);
    }
}

} // namespace

void RunWalker::forEachRun(QTextDocument* document, int from, int to, const Transform& transform) {
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    apply(document, collectRuns(document, from, to, false), transform);
    cursor.endEditBlock();
}

void RunWalker::forEachCharFormat(QTextDocument* document, const Transform& transform) {
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    apply(document, collectRuns(document, 0, document->characterCount(), true), transform);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat changed = transform(block.charFormat());
        if (changed == block.charFormat())
            continue;
        cursor.setPosition(block.position());
        cursor.setBlockCharFormat(changed);
    }
    cursor.endEditBlock();
}
