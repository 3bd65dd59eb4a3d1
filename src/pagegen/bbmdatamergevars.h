#pragma once

#include <QString>
#include <QStringList>
#include <unordered_map>

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
};
