#pragma once

#include <QColor>
#include <QList>
#include <QString>

/// One entry of the paragraph style list; paragraphs refer to it by index.
struct TParaStyleInfo {
    enum TAlignment { edaLeft, edaRight, edaCenter, edaJustify };
    struct Tab {
        int Position = 0; // pixels from the left indent
        bool operator==(const Tab& other) const { return Position == other.Position; }
    };

    QString StyleName = QStringLiteral("Paragraph Style");
    TAlignment Alignment = edaLeft;
    QList<Tab> Tabs;
    int LeftIndent = 0; // pixels
    int RightIndent = 0;
    int FirstIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LineSpacing = 100; // percent
    QColor Background;     // invalid: none

    bool sameLook(const TParaStyleInfo& other) const;
    bool operator==(const TParaStyleInfo& other) const;
};

/// The ordered paragraph style list, safe to read outside its range.
class TParaStyleInfos {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    void clear() { m_items.clear(); }
    TParaStyleInfo& add(const TParaStyleInfo& info = TParaStyleInfo());
    const TParaStyleInfo& at(int index) const;
    TParaStyleInfo* item(int index);
    void removeAt(int index) { m_items.removeAt(index); }
    int findOrAppend(const TParaStyleInfo& info);
    bool operator==(const TParaStyleInfos& other) const { return m_items == other.m_items; }

private:
    QList<TParaStyleInfo> m_items;
};
