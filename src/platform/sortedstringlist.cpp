#include "platform/sortedstringlist.h"

#include <algorithm>

qsizetype SortedStringList::lowerBound(const QString& text) const {
    const auto it = std::lower_bound(
        m_items.cbegin(), m_items.cend(), text,
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return it - m_items.cbegin();
}

bool SortedStringList::add(const QString& text) {
    const qsizetype index = lowerBound(text);
    if (index < m_items.size() && m_items[index].compare(text, Qt::CaseInsensitive) == 0)
        return false;
    m_items.insert(index, text);
    return true;
}

bool SortedStringList::contains(const QString& text) const {
    const qsizetype index = lowerBound(text);
    return index < m_items.size() && m_items[index].compare(text, Qt::CaseInsensitive) == 0;
}
