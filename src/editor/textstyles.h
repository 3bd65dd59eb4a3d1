#pragma once

#include <QColor>
#include <QList>
#include <QString>

/// One entry of the text style list: how a text run looks. Text runs refer to
/// it by index (`StyleNo`), so every look the editor shows is one entry here.
struct TTextStyleInfo {
    enum FontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    enum VShift { vsNormal, vsSuperscript, vsSubscript };

    QString StyleName = QStringLiteral("Normal text");
    QString FontName = QStringLiteral("Arial");
    int Size = 10;    // points
    int Style = 0;    // FontStyle bits
    QColor Color;     // invalid: the default text colour
    QColor BackColor; // invalid: no background
    bool Overline = false;
    bool AllCaps = false;
    VShift VAlign = vsNormal;
    bool Jump = false;
    /// For a hyperlink style, the style it was made from; -1 when none.
    int NonLinkStyleNo = -1;

    bool hasStyle(FontStyle style) const { return (Style & style) != 0; }
    /// Same look and behaviour; the name and the remembered non-link style do
    /// not count, so formatting finds an existing entry whatever it is called.
    bool sameLook(const TTextStyleInfo& other) const;
    bool operator==(const TTextStyleInfo& other) const;
    bool operator!=(const TTextStyleInfo& other) const { return !(*this == other); }
};

/// The ordered text style list. Reading outside the list gives a usable
/// default entry, so a damaged index never fails.
class TTextStyleInfos {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    void clear() { m_items.clear(); }
    /// Appends an entry and returns it; it is placed last.
    TTextStyleInfo& add(const TTextStyleInfo& info = TTextStyleInfo());
    const TTextStyleInfo& at(int index) const;
    /// The entry to change, or null outside the list.
    TTextStyleInfo* item(int index);
    void removeAt(int index) { m_items.removeAt(index); }
    /// Index of the first entry with the same look, or -1.
    int indexOfLook(const TTextStyleInfo& info) const;
    /// Index of an entry with the same look, appended when there is none.
    int findOrAppend(const TTextStyleInfo& info);
    bool operator==(const TTextStyleInfos& other) const { return m_items == other.m_items; }

private:
    QList<TTextStyleInfo> m_items;
};
