#pragma once

#include <QList>
#include <QString>

/// One bullet or numbering style. A list paragraph refers to it by index and
/// to one of its levels; each level is indented one step further.
struct TListInfo {
    enum TListType {
        lstBullet,
        lstDecimal,
        lstLowerAlpha,
        lstUpperAlpha,
        lstLowerRoman,
        lstUpperRoman
    };

    QString StyleName = QStringLiteral("List Style");
    TListType ListType = lstBullet;
    QString BulletText = QStringLiteral("\u2022");
    int StartFrom = 1;
    int IndentStep = 24; // pixels per level

    bool sameLook(const TListInfo& other) const;
    bool operator==(const TListInfo& other) const;
};

/// The ordered list style list, safe to read outside its range.
class TListInfos {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    void clear() { m_items.clear(); }
    TListInfo& add(const TListInfo& info = TListInfo());
    const TListInfo& at(int index) const;
    void removeAt(int index) { m_items.removeAt(index); }
    int findOrAppend(const TListInfo& info);
    bool operator==(const TListInfos& other) const { return m_items == other.m_items; }

private:
    QList<TListInfo> m_items;
};
