#pragma once

#include <QList>

/// An ordered list of styles addressed by index, as the text, paragraph and
/// list styles of a style sheet are. Reading outside the list gives a usable
/// default entry, so a damaged index never fails. `Info` provides
/// `sameLook`: formatting finds an entry by its look, whatever its name.
template <typename Info>
class StyleInfoList {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    void clear() { m_items.clear(); }
    /// Appends an entry and returns it; it is placed last.
    Info& add(const Info& info = Info()) {
        m_items.append(info);
        return m_items.last();
    }
    const Info& at(int index) const {
        static const Info fallback;
        return index >= 0 && index < count() ? m_items.at(index) : fallback;
    }
    /// The entry to change, or null outside the list.
    Info* item(int index) { return index >= 0 && index < count() ? &m_items[index] : nullptr; }
    void removeAt(int index) { m_items.removeAt(index); }
    /// Index of the first entry with the same look, or -1.
    int indexOfLook(const Info& info) const {
        for (int i = 0; i < count(); ++i) {
            if (m_items.at(i).sameLook(info))
                return i;
        }
        return -1;
    }
    /// Index of an entry with the same look, appended when there is none.
    int findOrAppend(const Info& info) {
        const int found = indexOfLook(info);
        if (found >= 0)
            return found;
        add(info);
        return count() - 1;
    }
    bool operator==(const StyleInfoList& other) const { return m_items == other.m_items; }

private:
    QList<Info> m_items;
};
