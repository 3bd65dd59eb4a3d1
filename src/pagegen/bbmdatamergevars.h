#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <string>
#include <unordered_map>
#include <vector>

class TBBMDataMerge;

/// The name/value list of a merge component. Names match without regard to
/// letter case; each keeps the letter case it was first added with, and the
/// entries keep the order in which they were first added.
class TBBMDataMergeVars {
public:
    explicit TBBMDataMergeVars(TBBMDataMerge& owner)
        : m_owner(owner) {}
    TBBMDataMergeVars(const TBBMDataMergeVars&) = delete;
    TBBMDataMergeVars& operator=(const TBBMDataMergeVars&) = delete;

    /// Replaces the value of the variable of that name, or appends it.
    void SetVar(const QString& name, const QString& value);
    /// True, with the value, when a variable of that name is held.
    bool Find(const QString& name, QString& value) const;
    void Clear();
    /// The value, in Windows-1252, of the variable whose name these
    /// Windows-1252 bytes are; null when none is held. Looks the name up
    /// without allocating, once the list has been looked up in since its
    /// last change.
    const QByteArray* FindEncoded(QByteArrayView name) const;

    qsizetype Count() const { return m_names.size(); }
    /// Names and values, entry i of one belonging to entry i of the other.
    const QStringList& Names() const { return m_names; }
    const QStringList& Values() const { return m_values; }
    /// The length of the longest name held: a longer name cannot be found.
    qsizetype LongestName() const { return m_longestName; }
    TBBMDataMerge& Owner() const { return m_owner; }

private:
    // Names are short and looked up once per variable of a merge: a plain
    // byte hash beats Qt's seeded one here.
    struct NameHash {
        std::size_t operator()(const QString& name) const noexcept;
    };

    TBBMDataMerge& m_owner;
    QStringList m_names;
    QStringList m_values;
    std::unordered_map<QString, qsizetype, NameHash> m_indexByFoldedName;
    qsizetype m_longestName = 0;

    // The list as the merge looks names up: the case-folded characters of
    // each name in an open-addressed table, values already in the code page.
    // Made again after a change.
    void makeEncodedIndex() const;
    mutable bool m_encodedReady = false;
    mutable std::vector<std::u32string> m_foldedNames;
    mutable QList<QByteArray> m_encodedValues;
    mutable std::vector<qsizetype> m_slots; // index into the lists, -1 when free
};
