#include "platform/sortedstringlist.h"

#include <algorithm>

namespace {

/// Without regard to letter case first; letter case only between strings
/// that are otherwise equal.
bool before(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

qsizetype SortedStringList::lowerBound(const QString& text) const {
    return std::lower_bound(m_items.cbegin(), m_items.cend(), text, before) - m_items.cbegin();
}

bool SortedStringList::add(const QString& text) {
    const qsizetype index = lowerBound(text);
    if (index < m_items.size() && m_items[index] == text)
        return false;
    m_items.insert(index, text);
    return true;
}

bool SortedStringList::contains(const QString& text) const {
    const qsizetype index = lowerBound(text);
    return index < m_items.size() && m_items[index] == text;
}
