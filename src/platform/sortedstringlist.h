#pragma once

#include <QStringList>

/// A list of strings kept in order without regard to letter case, where
/// adding a string that differs only in case from one already there is
/// silently ignored.
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
