#include "pagegen/bbmdatamergevars.h"

namespace {

// Two names are equal without regard to letter case exactly when their
// case-folded forms are equal, the rule QString::compare(Qt::CaseInsensitive)
// follows; the folded form is the key that finds a name in one look-up.
QString foldedName(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    for (const char32_t code : name.toUcs4())
        folded.append(QChar::fromUcs4(QChar::toCaseFolded(code)));
    return folded;
}

} // namespace

void TBBMDataMergeVars::SetVar(const QString& name, const QString& value) {
    const QString key = foldedName(name);
    const auto found = m_indexByFoldedName.constFind(key);
    if (found != m_indexByFoldedName.constEnd()) {
        m_values[*found] = value;
        return;
    }
    m_indexByFoldedName.insert(key, m_names.size());
    m_names.append(name);
    m_values.append(value);
    m_longestName = std::max(m_longestName, name.size());
}

bool TBBMDataMergeVars::Find(const QString& name, QString& value) const {
    if (name.size() > m_longestName)
        return false;
    const auto found = m_indexByFoldedName.constFind(foldedName(name));
    if (found == m_indexByFoldedName.constEnd())
        return false;
    value = m_values.at(*found);
    return true;
}

void TBBMDataMergeVars::Clear() {
    m_names.clear();
    m_values.clear();
    m_indexByFoldedName.clear();
    m_longestName = 0;
}
