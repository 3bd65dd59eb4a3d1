#include "pagegen/bbmdatamergevars.h"

#include "platform/windows1252.h"

#include <array>

namespace {

// Two names are equal without regard to letter case exactly when their
// case-folded forms are equal, the rule QString::compare(Qt::CaseInsensitive)
// follows; the folded form is the key that finds a name in one look-up.
template <typename Add>
void foldEach(const QString& name, Add add) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t code = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        add(QChar::toCaseFolded(code));
    }
}

QString foldedName(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    foldEach(name, [&folded](char32_t code) { folded.append(QChar::fromUcs4(code)); });
    return folded;
}

// The case-folded character of each Windows-1252 byte, as decoding the byte
// and folding the character gives it.
const std::array<char32_t, 256>& foldedBytes() {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> folded{};
        for (int byte = 0; byte < 256; ++byte) {
            const QString text = windows1252::decode(QByteArray(1, char(byte)));
            std::u32string code;
            foldEach(text, [&code](char32_t c) { code.push_back(c); });
            folded[byte] = code.size() == 1 ? code.front() : U'\uFFFD';
        }
        return folded;
    }();
    return table;
}

} // namespace

std::size_t TBBMDataMergeVars::NameHash::operator()(const QString& name) const noexcept {
    std::size_t hash = 14695981039346656037u; // FNV-1a
    for (const QChar ch : name)
        hash = (hash ^ ch.unicode()) * 1099511628211u;
    return hash;
}

void TBBMDataMergeVars::SetVar(const QString& name, const QString& value) {
    m_encodedReady = false;
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
    m_encodedReady = false;
    m_names.clear();
    m_values.clear();
    m_indexByFoldedName.clear();
    m_longestName = 0;
}

namespace {

std::size_t foldedHash(const char32_t* folded, qsizetype size) {
    std::size_t hash = 14695981039346656037u; // FNV-1a
    for (qsizetype i = 0; i < size; ++i)
        hash = (hash ^ folded[i]) * 1099511628211u;
    return hash;
}

} // namespace

void TBBMDataMergeVars::makeEncodedIndex() const {
    m_foldedNames.clear();
    m_encodedValues.clear();
    std::size_t capacity = 16;
    while (capacity < std::size_t(m_names.size()) * 2)
        capacity *= 2;
    m_slots.assign(capacity, -1);
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        std::u32string key;
        foldEach(m_names.at(i), [&key](char32_t code) { key.push_back(code); });
        std::size_t slot = foldedHash(key.data(), key.size()) & (capacity - 1);
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & (capacity - 1);
        m_slots[slot] = i;
        m_foldedNames.push_back(std::move(key));
        m_encodedValues.append(windows1252::encode(m_values.at(i)));
    }
    m_encodedReady = true;
}

const QByteArray* TBBMDataMergeVars::FindEncoded(QByteArrayView name) const {
    if (name.size() > m_longestName)
        return nullptr;
    if (!m_encodedReady)
        makeEncodedIndex();
    const std::array<char32_t, 256>& folded = foldedBytes();
    const auto foldedAt = [&](qsizetype i) { return folded[static_cast<unsigned char>(name[i])]; };
    std::size_t hash = 14695981039346656037u; // as foldedHash, folding on the way
    for (qsizetype i = 0; i < name.size(); ++i)
        hash = (hash ^ foldedAt(i)) * 1099511628211u;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask; m_slots[slot] >= 0; slot = (slot + 1) & mask) {
        const std::u32string& key = m_foldedNames[m_slots[slot]];
        if (qsizetype(key.size()) != name.size())
            continue;
        qsizetype i = 0;
        while (i < name.size() && key[i] == foldedAt(i))
            ++i;
        if (i == name.size())
            return &m_encodedValues.at(m_slots[slot]);
    }
    return nullptr;
}
