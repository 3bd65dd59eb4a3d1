#include "pagegen/bbmdatamergevars.h"

namespace {

// Two names are equal without regard to letter case exactly when their
// case-folded forms are equal, the rule QString::compare(Qt::CaseInsensitive)
// follows; the folded form is the key that finds a name in one look-up.
QString foldedName(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        folded.append(QChar::fromUcs4(QChar::toCaseFolded(code)));
    }
    return folded;
}

} // namespace

std::size_t TBBMDataMergeVars::NameHash::operator()(const QString& name) const noexcept {
    std::size_t hash = 14695981039346656037u; // FNV-1a
    for (const QChar ch : name)
        hash = (hash ^ ch.unicode()) * 1099511628211u;
    return hash;
}

void TBBMDataMergeVars::SetVar(const QString& name, const QString& value) {
    const QString key = foldedName(name);
    const auto found = m_indexByFoldedName.find(key);
    if (found != m_indexByFoldedName.end()) {
        m_values[found->second] = value;
        return;
    }
    m_indexByFoldedName.emplace(key, m_names.size());
    m_names.append(name);
    m_values.append(value);
    m_longestName = std::max(m_longestName, name.size());
}

bool TBBMDataMergeVars::Find(const QString& name, QString& value) const {
    if (name.size() > m_longestName)
        return false;
    const auto found = m_indexByFoldedName.find(foldedName(name));
    if (found == m_indexByFoldedName.end())
        return false;
    value = m_values.at(found->second);
    return true;
}

void TBBMDataMergeVars::Clear() {
    m_names.clear();
    m_values.clear();
    m_indexByFoldedName.clear();
    m_longestName = 0;
}
