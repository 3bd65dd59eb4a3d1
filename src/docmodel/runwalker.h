#pragma once

#include <QTextCharFormat>
#include <functional>

class QTextDocument;

/// Visits the text runs (not pictures or anchors) between two positions and
/// gives each the format the transform returns for its current one.
class RunWalker {
public:
    using Transform = std::function<QTextCharFormat(const QTextCharFormat&)>;

    static void forEachRun(QTextDocument* document, int from, int to, const Transform& transform);
    /// Same for every format of the document: runs, pictures and anchors,
    /// and the formats of the paragraphs' empty text.
    static void forEachCharFormat(QTextDocument* document, const Transform& transform);
};
