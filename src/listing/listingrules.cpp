#include "listing/listingrules.h"

#include <QRegularExpression>
#include <algorithm>
#include <vector>

namespace listingrules {

namespace {

constexpr qsizetype maxCharacters = 500000;
constexpr qsizetype nearlyMaxCharacters = 450000;
constexpr double phoneWidthPx = 480;
constexpr double smallestFontPx = 11;
constexpr qsizetype largestDataPictureBytes = 10 * 1024;

double firstNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\d*\\.?\\d+"));
    return number.match(text).captured().toDouble();
}

bool hasMaxWidth(const QString& text) {
    static const QRegularExpression maxWidth(QStringLiteral("max-width\\s*:"),
                                             QRegularExpression::CaseInsensitiveOption);
    return text.contains(maxWidth);
}

bool widerThanAPhoneWithoutMaxWidth(const Candidate& c) {
    return c.captured.toDouble() > phoneWidthPx && !hasMaxWidth(c.context);
}

bool fontTooSmall(const Candidate& c) {
    const double size = firstNumber(c.text);
    const bool points = c.text.endsWith(QLatin1String("pt"), Qt::CaseInsensitive);
    return (points ? size * 4 / 3 : size) < smallestFontPx;
}

/// The bytes of the picture a data: address carries.
bool dataPictureTooLarge(const Candidate& c) {
    const qsizetype comma = c.text.indexOf(QLatin1Char(','));
    const qsizetype payload = comma < 0 ? 0 : c.text.size() - comma - 1;
    const bool base64 =
        comma >= 0 && c.text.left(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive);
    return (base64 ? payload * 3 / 4 : payload) > largestDataPictureBytes;
}

/// `<font size>`: 1 to 7, or relative to the usual 3; 1 is about 10 px.
bool fontTagTooSmall(const Candidate& c) {
    const QString size = c.captured;
    const bool relative = size.startsWith(QLatin1Char('+')) || size.startsWith(QLatin1Char('-'));
    return (relative ? 3 + size.toInt() : size.toInt()) <= 1;
}

/// The `rel` of a `<link>` tag names a style sheet.
bool isStyleSheetLink(const QString& tag) {
    static const QRegularExpression rel(
        QStringLiteral("\\srel\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]*))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression styleSheet(QStringLiteral("(^|\\s)stylesheet(\\s|$)"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = rel.match(tag);
    return m.hasMatch() && (m.captured(1) + m.captured(2) + m.captured(3)).contains(styleSheet);
}

// clang-format off
const QList<Rule> table = {
    {"http-picture", Severity::Error,
     "Picture over an insecure connection (http://): marketplaces show only a snippet of a "
     "description with insecure content.",
     "Image en connexion non s\u00e9curis\u00e9e (http://) : les sites d'ench\u00e8res "
     "n'affichent qu'un extrait d'une description au contenu non s\u00e9curis\u00e9.",
     Target::Picture, nullptr, nullptr, "^http://", {}},
    {"http-link", Severity::Warning,
     "Link over an insecure connection (http://): use https:// when the site offers it.",
     "Lien en connexion non s\u00e9curis\u00e9e (http://) : utilisez https:// si le site le "
     "permet.",
     Target::Link, nullptr, nullptr, "^http://", {}},
    {"script", Severity::Error, "Script: marketplaces refuse active content.",
     "Script : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Element, "script", nullptr, nullptr, {}},
    {"event-handler", Severity::Error, "Event handler attribute: marketplaces refuse active content.",
     "Attribut de gestion d'\u00e9v\u00e9nement : les sites d'ench\u00e8res refusent le contenu "
     "actif.",
     Target::Attribute, nullptr, "on[a-z]+", nullptr, {}},
    // Browsers ignore tabs and line breaks inside an address.
    {"javascript-url", Severity::Error, "javascript: address: marketplaces refuse active content.",
     "Adresse javascript: : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Attribute, nullptr, "[^\\s]+",
     "^[\\s\\x00-\\x20]*(j\\s*a\\s*v\\s*a|v\\s*b)\\s*s\\s*c\\s*r\\s*i\\s*p\\s*t\\s*:", {}},
    {"form", Severity::Error, "Form: marketplaces refuse active content.",
     "Formulaire : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Element, "form", nullptr, nullptr, {}},
    {"iframe", Severity::Error, "Inline frame: marketplaces refuse active content.",
     "Cadre int\u00e9gr\u00e9 : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Element, "i?frame", nullptr, nullptr, {}},
    {"plugin", Severity::Error, "Embedded object or applet: marketplaces refuse active content.",
     "Objet int\u00e9gr\u00e9 ou applet : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Element, "object|embed|applet", nullptr, nullptr, {}},
    {"style-sheet-link", Severity::Error,
     "External style sheet (<link>): marketplaces remove it, the listing shows unstyled.",
     "Feuille de style externe (<link>) : les sites d'ench\u00e8res la retirent, l'annonce "
     "s'affiche sans mise en forme.",
     Target::Element, "link", nullptr, nullptr,
     [](const Candidate& c) { return isStyleSheetLink(c.context); }},
    {"link-element", Severity::Warning,
     "<link> element (font, icon, preload): marketplaces may remove it.",
     "\u00c9l\u00e9ment <link> (police, ic\u00f4ne, pr\u00e9chargement) : les sites "
     "d'ench\u00e8res peuvent le retirer.",
     Target::Element, "link", nullptr, nullptr,
     [](const Candidate& c) { return !isStyleSheetLink(c.context); }},
    {"meta-refresh", Severity::Error, "Automatic refresh or redirection: marketplaces refuse active content.",
     "Actualisation ou redirection automatique : les sites d'ench\u00e8res refusent le contenu "
     "actif.",
     Target::Attribute, "meta", "http-equiv", "^\\s*refresh\\s*$", {}},
    {"css-expression", Severity::Error, "CSS expression(): marketplaces refuse active content.",
     "Expression CSS expression() : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Css, nullptr, nullptr, "expression\\s*\\(", {}},
    {"css-behavior", Severity::Error, "CSS behavior: marketplaces refuse active content.",
     "Propri\u00e9t\u00e9 CSS behavior : les sites d'ench\u00e8res refusent le contenu actif.",
     Target::Css, nullptr, nullptr, "(?<![-\\w])behavior\\s*:", {}},
    {"page-too-long", Severity::Error,
     "The listing is longer than 500,000 characters: marketplaces refuse it.",
     "L'annonce d\u00e9passe 500 000 caract\u00e8res : les sites d'ench\u00e8res la refusent.",
     Target::Page, nullptr, nullptr, nullptr,
     [](const Candidate& c) { return c.context.size() > maxCharacters; }},
    {"page-long", Severity::Warning,
     "The listing is longer than 450,000 characters, close to the 500,000 marketplaces accept.",
     "L'annonce d\u00e9passe 450 000 caract\u00e8res, pr\u00e8s des 500 000 que les sites "
     "d'ench\u00e8res acceptent.",
     Target::Page, nullptr, nullptr, nullptr,
     [](const Candidate& c) {
         return c.context.size() > nearlyMaxCharacters && c.context.size() <= maxCharacters;
     }},
    {"local-picture", Severity::Error,
     "Picture on this computer (file:): bidders cannot see it.",
     "Image sur cet ordinateur (file:) : les ench\u00e9risseurs ne la voient pas.",
     Target::Picture, nullptr, nullptr, "^file:", {}},
    {"relative-picture", Severity::Error,
     "Picture without a web address: bidders cannot see it.",
     "Image sans adresse web : les ench\u00e9risseurs ne la voient pas.",
     Target::Picture, nullptr, nullptr, "^(?![a-z][a-z0-9+.-]*:)(?!//)", {}},
    {"data-picture", Severity::Error,
     "Picture written into the page (data:) larger than 10 KB: put it on an image server.",
     "Image \u00e9crite dans la page (data:) de plus de 10 Ko : mettez-la sur un serveur "
     "d'images.",
     Target::Picture, nullptr, nullptr, "^data:", dataPictureTooLarge},
    {"wide-fixed-width", Severity::Warning,
     "Fixed width wider than 480 px without max-width: too wide for a phone.",
     "Largeur fixe de plus de 480 px sans max-width : trop large pour un t\u00e9l\u00e9phone.",
     Target::Css, nullptr, nullptr, "(?<![-\\w])width\\s*:\\s*(\\d*\\.?\\d+)\\s*px",
     widerThanAPhoneWithoutMaxWidth},
    {"wide-table", Severity::Warning,
     "Table wider than 480 without max-width: too wide for a phone.",
     "Tableau de plus de 480 de large sans max-width : trop large pour un t\u00e9l\u00e9phone.",
     Target::Attribute, "table", "width", "^\\s*(\\d*\\.?\\d+)\\s*(px)?\\s*$",
     widerThanAPhoneWithoutMaxWidth},
    {"small-font", Severity::Warning,
     "Font smaller than 11 px: hard to read on a phone.",
     "Police de moins de 11 px : difficile \u00e0 lire sur un t\u00e9l\u00e9phone.",
     Target::Css, nullptr, nullptr, "(?<![-\\w])font-size\\s*:\\s*\\d*\\.?\\d+\\s*(px|pt)",
     fontTooSmall},
    {"small-font-tag", Severity::Warning,
     "<font size=1> (about 10 px): hard to read on a phone.",
     "<font size=1> (environ 10 px) : difficile \u00e0 lire sur un t\u00e9l\u00e9phone.",
     Target::Attribute, "font", "size", "^\\s*([-+]?\\d+)\\s*$", fontTagTooSmall},
};
// clang-format on

QRegularExpression caseless(const char* pattern, bool whole) {
    const QString text = QString::fromUtf8(pattern);
    return QRegularExpression(whole ? QRegularExpression::anchoredPattern(text) : text,
                              QRegularExpression::CaseInsensitiveOption);
}

/// Character references in attribute values, so that `javascript&#58;`
/// reads as what the browser sees.
QString decodeReferences(const QString& value) {
    if (!value.contains(QLatin1Char('&')))
        return value;
    static const QRegularExpression reference(
        QStringLiteral("&(#[xX][0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);?"));
    static const QList<std::pair<QLatin1String, QChar>> named = {
        {QLatin1String("amp"), QLatin1Char('&')},   {QLatin1String("quot"), QLatin1Char('"')},
        {QLatin1String("apos"), QLatin1Char('\'')}, {QLatin1String("lt"), QLatin1Char('<')},
        {QLatin1String("gt"), QLatin1Char('>')},    {QLatin1String("colon"), QLatin1Char(':')},
        {QLatin1String("tab"), QLatin1Char('\t')},  {QLatin1String("newline"), QLatin1Char('\n')},
        {QLatin1String("nbsp"), QChar(0xa0)}};
    QString out;
    qsizetype last = 0;
    auto it = reference.globalMatch(value);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        QString replacement = m.captured();
        if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const bool hex = name.size() > 1 && name.at(1).toLower() == QLatin1Char('x');
            const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok && code > 0 && code < 0x110000)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            for (const auto& [entity, character] : named)
                if (name.compare(entity, Qt::CaseInsensitive) == 0)
                    replacement = QString(character);
        }
        out += QStringView(value).mid(last, m.capturedStart() - last);
        out += replacement;
        last = m.capturedEnd();
    }
    out += QStringView(value).mid(last);
    return out;
}

/// What a seller can do about each rule's finding.
struct Advice {
    const char* english;
    const char* french;
};

Advice adviceFor(const QString& ruleId) {
    static const Advice activeContent{"Remove it from the description.",
                                      "Retirez-le de la description."};
    static const Advice picturesOnAServer{
        "Choose an image server for your pictures in the options.",
        "Choisissez un serveur d'images pour vos images dans les r\u00e9glages."};
    static const Advice narrower{
        "Make it at most 480 px wide, or let it take the page's width.",
        "R\u00e9duisez-le \u00e0 480 px au plus, ou laissez-le prendre la largeur de la page."};
    static const Advice largerText{"Make that text at least 9 pt (11 px).",
                                   "Agrandissez ce texte \u00e0 9 pt (11 px) au moins."};
    static const Advice shorter{
        "Shorten the description, or put the pictures written into it on an image server.",
        "Raccourcissez la description, ou mettez les images \u00e9crites dedans sur un "
        "serveur d'images."};
    static const QList<std::pair<const char*, Advice>> table = {
        {"http-picture",
         {"Use an image server whose address starts with https://.",
          "Utilisez un serveur d'images dont l'adresse commence par https://."}},
        {"http-link",
         {"Write the link with https:// when the site offers it.",
          "\u00c9crivez le lien avec https:// si le site le permet."}},
        {"local-picture", picturesOnAServer},
        {"relative-picture", picturesOnAServer},
        {"data-picture", picturesOnAServer},
        {"page-too-long", shorter},
        {"page-long", shorter},
        {"wide-fixed-width", narrower},
        {"wide-table", narrower},
        {"small-font", largerText},
        {"small-font-tag", largerText},
    };
    for (const auto& [id, advice] : table)
        if (ruleId == QLatin1String(id))
            return advice;
    return activeContent;
}

struct Attribute {
    QString name;
    QString value;
    qsizetype offset;
    /// Where the value starts, so that a finding inside a long style has its
    /// own line.
    qsizetype valueOffset;
};

struct Tag {
    QString name;
    QList<Attribute> attributes;
    QString text;
    qsizetype offset;
    /// Where the element's content starts: the end of the tag.
    qsizetype end;
};

/// A place in the page and what is there.
struct Spot {
    QString text;
    QString context;
    qsizetype offset;
    /// Where the text it concerns starts; -1 when it concerns none.
    qsizetype textFrom = -1;
};

/// The parts of a page the rules look at.
struct Page {
    QList<Tag> tags;
    QList<Spot> cssBlocks;
    QList<Spot> pictures;
    QList<Spot> links;
};

/// The CSS picture addresses of `css`, which starts at `offset`.
void addCssPictures(const QString& css, qsizetype offset, const QString& context, Page& page) {
    static const QRegularExpression url(
        QStringLiteral("url\\(\\s*(?:\"([^\"]*)\"|'([^']*)'|([^)'\"\\s]*))\\s*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    auto it = url.globalMatch(css);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString address =
            (m.captured(1) + m.captured(2) + m.captured(3)).trimmed(); // only one is set
        // An empty url() is how the page says "no picture here".
        if (!address.isEmpty())
            page.pictures.append({address, context, offset + m.capturedStart()});
    }
}

/// The picture addresses of a `srcset` (on `img` and `source`): candidates
/// "ADDRESS [DESCRIPTOR]" separated by commas; an address may itself hold
/// commas, a candidate without descriptor may end with one.
void addSrcsetPictures(const QString& srcset, qsizetype offset, const QString& context,
                       Page& page) {
    const qsizetype n = srcset.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (srcset.at(i).isSpace() || srcset.at(i) == QLatin1Char(',')))
            ++i;
        const qsizetype start = i;
        while (i < n && !srcset.at(i).isSpace())
            ++i;
        QString address = srcset.mid(start, i - start);
        const bool ended = address.endsWith(QLatin1Char(','));
        while (address.endsWith(QLatin1Char(',')))
            address.chop(1);
        if (!address.isEmpty())
            page.pictures.append({address, context, offset + start});
        if (ended)
            continue;
        // The descriptor ("2x", "640w") runs to the next comma.
        while (i < n && srcset.at(i) != QLatin1Char(','))
            ++i;
    }
}

qsizetype indexOfCaseless(const QString& text, QLatin1String what, qsizetype from) {
    const qsizetype at = text.indexOf(what, from, Qt::CaseInsensitive);
    return at < 0 ? text.size() : at;
}

Page parse(const QString& text) {
    Page page;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto isSpace = [&](qsizetype k) { return k < n && text.at(k).isSpace(); };
    while (i < n) {
        i = text.indexOf(QLatin1Char('<'), i);
        if (i < 0)
            break;
        if (QStringView(text).mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = text.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        if (i + 1 >= n || !text.at(i + 1).isLetter()) {
            ++i;
            continue;
        }
        Tag tag;
        tag.offset = i;
        tag.end = i;
        qsizetype j = i + 1;
        while (j < n && (text.at(j).isLetterOrNumber() || text.at(j) == QLatin1Char('-') ||
                         text.at(j) == QLatin1Char(':')))
            ++j;
        tag.name = text.mid(i + 1, j - i - 1).toLower();
        while (j < n) {
            while (isSpace(j) || (j < n && text.at(j) == QLatin1Char('/')))
                ++j;
            if (j >= n)
                break;
            if (text.at(j) == QLatin1Char('>')) {
                ++j;
                break;
            }
            const qsizetype nameStart = j;
            while (j < n && !text.at(j).isSpace() && text.at(j) != QLatin1Char('=') &&
                   text.at(j) != QLatin1Char('>') && text.at(j) != QLatin1Char('/'))
                ++j;
            if (j == nameStart) { // a stray "="
                ++j;
                continue;
            }
            Attribute attribute{text.mid(nameStart, j - nameStart).toLower(), QString(), nameStart,
                                nameStart};
            qsizetype k = j;
            while (isSpace(k))
                ++k;
            if (k < n && text.at(k) == QLatin1Char('=')) {
                ++k;
                while (isSpace(k))
                    ++k;
                if (k < n && (text.at(k) == QLatin1Char('"') || text.at(k) == QLatin1Char('\''))) {
                    const QChar quote = text.at(k);
                    attribute.valueOffset = k + 1;
                    qsizetype end = text.indexOf(quote, k + 1);
                    if (end < 0)
                        end = n;
                    attribute.value = text.mid(k + 1, end - k - 1);
                    j = std::min(n, end + 1);
                } else {
                    attribute.valueOffset = k;
                    qsizetype end = k;
                    while (end < n && !text.at(end).isSpace() && text.at(end) != QLatin1Char('>'))
                        ++end;
                    attribute.value = text.mid(k, end - k);
                    j = end;
                }
                attribute.value = decodeReferences(attribute.value);
            }
            tag.attributes.append(attribute);
        }
        tag.text = text.mid(i, j - i);
        tag.end = j;
        i = j;

        for (const Attribute& a : std::as_const(tag.attributes)) {
            const QString value = a.value.trimmed();
            if (a.name == QLatin1String("style")) {
                page.cssBlocks.append({a.value, tag.text, a.valueOffset, tag.end});
                addCssPictures(a.value, a.valueOffset, tag.text, page);
            } else if (a.name == QLatin1String("background") ||
                       (a.name == QLatin1String("src") &&
                        (tag.name == QLatin1String("img") || tag.name == QLatin1String("input")))) {
                if (!value.isEmpty())
                    page.pictures.append({value, tag.text, a.offset});
            } else if (a.name == QLatin1String("srcset")) {
                addSrcsetPictures(a.value, a.valueOffset, tag.text, page);
            } else if (a.name == QLatin1String("href") &&
                       (tag.name == QLatin1String("a") || tag.name == QLatin1String("area"))) {
                page.links.append({value, tag.text, a.offset, tag.end});
            }
        }
        if (tag.name == QLatin1String("style")) {
            const qsizetype end = indexOfCaseless(text, QLatin1String("</style"), i);
            const QString sheet = text.mid(i, end - i);
            static const QRegularExpression block(QStringLiteral("\\{([^{}]*)\\}"));
            auto it = block.globalMatch(sheet);
            while (it.hasNext()) {
                const QRegularExpressionMatch m = it.next();
                page.cssBlocks.append({m.captured(1), m.captured(), i + m.capturedStart(1)});
            }
            addCssPictures(sheet, i, QString(), page);
            i = end;
        } else if (tag.name == QLatin1String("script")) {
            // What a script writes is not markup of the page.
            i = indexOfCaseless(text, QLatin1String("</script"), i);
        }
        page.tags.append(tag);
    }
    return page;
}

bool endsABlock(const QString& name) {
    static const QRegularExpression block(
        QStringLiteral("^(p|div|td|th|tr|table|li|ul|ol|dl|dt|dd|h[1-6]|br|hr|blockquote|pre|"
                       "body|html)$"));
    return block.match(name).hasMatch();
}

/// The first words bidders read from `from` on: the text without its tags,
/// to the end of its paragraph, cell or item, at most a few words.
QString wordsFrom(const QString& text, qsizetype from) {
    constexpr int mostWords = 8;
    constexpr qsizetype enoughCharacters = 400;
    QString plain;
    const qsizetype n = text.size();
    qsizetype i = from;
    while (i < n && plain.size() < enoughCharacters) {
        if (text.at(i) != QLatin1Char('<')) {
            plain += text.at(i++);
            continue;
        }
        const qsizetype end = text.indexOf(QLatin1Char('>'), i);
        if (end < 0)
            break;
        QString name = text.mid(i + 1, end - i - 1).trimmed();
        const bool closing = name.startsWith(QLatin1Char('/'));
        static const QRegularExpression nameEnd(QStringLiteral("[\\s/]"));
        name = name.mid(closing ? 1 : 0).section(nameEnd, 0, 0).toLower();
        if (endsABlock(name)) {
            if (!plain.trimmed().isEmpty())
                break;
            plain += QLatin1Char(' ');
        }
        i = end + 1;
        if (!closing && (name == QLatin1String("style") || name == QLatin1String("script")))
            i = indexOfCaseless(text, QLatin1String("</"), i);
    }
    QStringList words =
        decodeReferences(plain).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool cut = words.size() > mostWords;
    words = words.mid(0, mostWords);
    QString shown = words.join(QLatin1Char(' '));
    if (cut)
        shown += QChar(0x2026);
    return shown;
}

QString shortened(QString text) {
    text = text.simplified();
    constexpr qsizetype longest = 100;
    return text.size() > longest ? text.left(longest - 1) + QChar(0x2026) : text;
}

} // namespace

const QList<Rule>& rules() {
    return table;
}

QList<Finding> check(const QString& text, const QString& language) {
    const Page page = parse(text);
    std::vector<qsizetype> lineStarts{0};
    for (qsizetype k = 0; k < text.size(); ++k)
        if (text.at(k) == QLatin1Char('\n'))
            lineStarts.push_back(k + 1);
    auto lineOf = [&](qsizetype offset) {
        return int(std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) -
                   lineStarts.begin());
    };
    const bool french = language == QLatin1String("fr");

    QList<Finding> findings;
    for (const Rule& rule : table) {
        const QString message = QString::fromUtf8(french ? rule.french : rule.english);
        const QRegularExpression value =
            rule.value ? caseless(rule.value, false) : QRegularExpression();
        const Advice advice = adviceFor(QString::fromLatin1(rule.id));
        const QString adviceText = QString::fromUtf8(french ? advice.french : advice.english);
        auto report = [&](const Candidate& candidate, int line, const QString& where,
                          qsizetype textFrom = -1) {
            if (rule.test && !rule.test(candidate))
                return;
            const Finding finding{
                rule.severity,    QString::fromLatin1(rule.id),
                message,          line,
                shortened(where), textFrom < 0 ? QString() : wordsFrom(text, textFrom),
                adviceText};
            // The same thing twice on one line (two runs of small text) is one finding.
            const bool known =
                std::any_of(findings.cbegin(), findings.cend(), [&](const Finding& f) {
                    return f.ruleId == finding.ruleId && f.line == line && f.where == finding.where;
                });
            if (!known)
                findings.append(finding);
        };
        auto search = [&](const Spot& spot) {
            if (!rule.value) {
                report({spot.text, QString(), spot.context}, lineOf(spot.offset), spot.text);
                return;
            }
            const QRegularExpressionMatch m = value.match(spot.text);
            if (m.hasMatch())
                report({spot.text, m.captured(1), spot.context}, lineOf(spot.offset), spot.text,
                       spot.textFrom);
        };
        switch (rule.target) {
        case Target::Element: {
            const QRegularExpression element = caseless(rule.element, true);
            for (const Tag& tag : page.tags)
                if (element.match(tag.name).hasMatch())
                    report({tag.text, QString(), tag.text}, lineOf(tag.offset),
                           QLatin1Char('<') + tag.name + QLatin1Char('>'));
            break;
        }
        case Target::Attribute: {
            const QRegularExpression element =
                rule.element ? caseless(rule.element, true) : QRegularExpression();
            const QRegularExpression attribute = caseless(rule.attribute, true);
            for (const Tag& tag : page.tags) {
                if (rule.element && !element.match(tag.name).hasMatch())
                    continue;
                for (const Attribute& a : tag.attributes) {
                    if (!attribute.match(a.name).hasMatch())
                        continue;
                    const QRegularExpressionMatch m =
                        rule.value ? value.match(a.value) : QRegularExpressionMatch();
                    if (rule.value && !m.hasMatch())
                        continue;
                    report({a.value, rule.value ? m.captured(1) : QString(), tag.text},
                           lineOf(a.offset), a.name + QLatin1Char('=') + a.value.trimmed(),
                           tag.end);
                }
            }
            break;
        }
        case Target::Picture:
            for (const Spot& spot : page.pictures)
                search(spot);
            break;
        case Target::Link:
            for (const Spot& spot : page.links)
                search(spot);
            break;
        case Target::Css:
            for (const Spot& block : page.cssBlocks) {
                auto it = value.globalMatch(block.text);
                while (it.hasNext()) {
                    const QRegularExpressionMatch m = it.next();
                    report({m.captured(), m.captured(1), block.text},
                           lineOf(block.offset + m.capturedStart()), m.captured(), block.textFrom);
                }
            }
            break;
        case Target::Page:
            report({QString(), QString(), text}, 0,
                   QString::number(text.size()) + QLatin1String(" characters"));
            break;
        }
    }
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.severity != b.severity)
            return a.severity == Severity::Error;
        return a.line < b.line;
    });
    return findings;
}

QList<Finding> check(const QStringList& lines, const QString& language) {
    QString code;
    for (const QString& line : lines)
        code += line + QStringLiteral("\r\n");
    return check(code, language);
}

bool hasErrors(const QList<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

QString severityName(Severity severity) {
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QString describe(const Finding& finding) {
    QString line = severityName(finding.severity) + QLatin1Char(' ') + finding.ruleId;
    if (finding.line > 0)
        line += QLatin1String(" line ") + QString::number(finding.line);
    line += QLatin1String(": ") + finding.where;
    if (!finding.words.isEmpty())
        line += QStringLiteral(" \u00ab") + finding.words + QStringLiteral("\u00bb");
    return line;
}

} // namespace listingrules
