#pragma once

#include <QStringList>

/// A list of strings kept in order without regard to letter case, where
/// adding a string that is there already is silently ignored. Strings that
/// differ only in letter case are different entries (servers and file
/// systems tell "Sky.jpg" from "sky.jpg"); they stand side by side.
class SortedStringList {
public:
    /// Adds the string at its place; false when an equal one is there.
    bool add(const QString& text);
    bool contains(const QString& text) const;
    void clear() { m_items.clear(); }

    qsizetype size() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const QString& at(qsizetype index) const { return m_items.at(index); }
    const QStringList& items() const { return m_items; }

private:
    qsizetype lowerBound(const QString& text) const;

    QStringList m_items;
};
