#include "docmodel/listingimport.h"

#include "platform/uilanguage.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextCursor>
#include <QUrl>

namespace listingimport {

namespace {

struct Attribute {
    QString name; // lower case
    QString value;
    qsizetype from = 0; // where the attribute starts in the page
    qsizetype to = 0;   // just after it
};

struct Tag {
    QString name; // lower case
    bool closing = false;
    QList<Attribute> attributes;

    QString value(QLatin1String name) const {
        for (const Attribute& attribute : attributes) {
            if (attribute.name == name)
                return attribute.value;
        }
        return QString();
    }
};

bool isSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char(':') ||
           c == QLatin1Char('_');
}

/// The character references a page uses in addresses.
QString decodeReferences(const QString& value) {
    if (!value.contains(QLatin1Char('&')))
        return value;
    static const std::pair<QLatin1String, QChar> named[] = {
        {QLatin1String("amp"), QLatin1Char('&')},   {QLatin1String("quot"), QLatin1Char('"')},
        {QLatin1String("apos"), QLatin1Char('\'')}, {QLatin1String("lt"), QLatin1Char('<')},
        {QLatin1String("gt"), QLatin1Char('>')},    {QLatin1String("nbsp"), QChar(0xa0)},
    };
    QString result;
    qsizetype i = 0;
    while (i < value.size()) {
        const qsizetype semicolon =
            value.at(i) == QLatin1Char('&') ? value.indexOf(QLatin1Char(';'), i) : -1;
        if (semicolon > i + 1 && semicolon - i <= 10) {
            const QString name = value.mid(i + 1, semicolon - i - 1);
            bool ok = false;
            uint code = 0;
            if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
                code = name.mid(2).toUInt(&ok, 16);
            else if (name.startsWith(QLatin1Char('#')))
                code = name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10ffff) {
                result += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
                i = semicolon + 1;
                continue;
            }
            bool found = false;
            for (const auto& [entity, c] : named) {
                if (name == entity) {
                    result += c;
                    found = true;
                    break;
                }
            }
            if (found) {
                i = semicolon + 1;
                continue;
            }
        }
        result += value.at(i++);
    }
    return result;
}

/// Reads the tag starting at `at` (a '<' followed by a name or '/'); the
/// position after its '>', or -1 when there is no tag there.
qsizetype readTag(const QString& html, qsizetype at, Tag& tag) {
    const qsizetype n = html.size();
    qsizetype i = at + 1;
    if (i < n && html.at(i) == QLatin1Char('/')) {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    if (i >= n || !html.at(i).isLetter())
        return -1;
    while (i < n && isNameChar(html.at(i)))
        ++i;
    tag.name = html.mid(nameStart, i - nameStart).toLower();
    while (i < n) {
        while (i < n && (isSpace(html.at(i)) || html.at(i) == QLatin1Char('/')))
            ++i;
        if (i >= n)
            return -1;
        if (html.at(i) == QLatin1Char('>'))
            return i + 1;
        Attribute attribute;
        attribute.from = i;
        while (i < n && !isSpace(html.at(i)) && html.at(i) != QLatin1Char('=') &&
               html.at(i) != QLatin1Char('>') && html.at(i) != QLatin1Char('/'))
            ++i;
        attribute.name = html.mid(attribute.from, i - attribute.from).toLower();
        qsizetype look = i;
        while (look < n && isSpace(html.at(look)))
            ++look;
        if (look < n && html.at(look) == QLatin1Char('=')) {
            i = look + 1;
            while (i < n && isSpace(html.at(i)))
                ++i;
            if (i < n && (html.at(i) == QLatin1Char('"') || html.at(i) == QLatin1Char('\''))) {
                const QChar quote = html.at(i);
                const qsizetype close = html.indexOf(quote, i + 1);
                if (close < 0)
                    return -1;
                attribute.value = html.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype start = i;
                while (i < n && !isSpace(html.at(i)) && html.at(i) != QLatin1Char('>'))
                    ++i;
                attribute.value = html.mid(start, i - start);
            }
            attribute.value = decodeReferences(attribute.value);
        }
        attribute.to = i;
        tag.attributes.append(attribute);
    }
    return -1;
}

/// The position just after the element that opened before `from`: its
/// closing tag, counting elements of the same name inside it; the end of
/// the page when it is not closed. Raw text elements end at their first
/// closing tag.
qsizetype endOfElement(const QString& html, qsizetype from, const QString& name, bool rawText) {
    int depth = 1;
    qsizetype i = from;
    while (true) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        if (lt < 0)
            return html.size();
        Tag tag;
        const qsizetype end = readTag(html, lt, tag);
        if (end < 0 || tag.name != name) {
            i = lt + 1;
            continue;
        }
        if (tag.closing && --depth == 0)
            return end;
        if (!tag.closing && !rawText)
            ++depth;
        i = end;
    }
}

enum class Kind { Keep, Script, Form, Field, StyleSheet, Embedded, Silent };

/// What an element is to the import, and whether its content goes with it.
Kind kindOf(const Tag& tag, bool& withContent, bool& rawText) {
    withContent = true;
    rawText = false;
    const QString& n = tag.name;
    if (n == QLatin1String("script")) {
        rawText = true;
        return Kind::Script;
    }
    if (n == QLatin1String("noscript")) {
        // Only shown where scripts do not run: the scripts were counted.
        rawText = true;
        return Kind::Silent;
    }
    if (n == QLatin1String("style")) {
        rawText = true;
        return Kind::StyleSheet;
    }
    if (n == QLatin1String("link")) {
        withContent = false;
        return tag.value(QLatin1String("rel"))
                       .contains(QLatin1String("stylesheet"), Qt::CaseInsensitive)
                   ? Kind::StyleSheet
                   : Kind::Silent;
    }
    if (n == QLatin1String("form"))
        return Kind::Form;
    if (n == QLatin1String("textarea")) {
        rawText = true;
        return Kind::Field;
    }
    if (n == QLatin1String("select") || n == QLatin1String("button") ||
        n == QLatin1String("datalist"))
        return Kind::Field;
    if (n == QLatin1String("input") || n == QLatin1String("keygen")) {
        withContent = false;
        return Kind::Field;
    }
    if (n == QLatin1String("iframe") || n == QLatin1String("noembed") ||
        n == QLatin1String("noframes")) {
        rawText = true;
        return Kind::Embedded;
    }
    if (n == QLatin1String("object") || n == QLatin1String("applet") ||
        n == QLatin1String("video") || n == QLatin1String("audio") ||
        n == QLatin1String("canvas") || n == QLatin1String("svg") || n == QLatin1String("math") ||
        n == QLatin1String("frameset") || n == QLatin1String("template"))
        return Kind::Embedded;
    if (n == QLatin1String("embed") || n == QLatin1String("frame")) {
        withContent = false;
        return Kind::Embedded;
    }
    return Kind::Keep;
}

void count(Kind kind, LeftOut& leftOut) {
    switch (kind) {
    case Kind::Script:
        ++leftOut.scripts;
        break;
    case Kind::Form:
        ++leftOut.forms;
        break;
    case Kind::Field:
        ++leftOut.formFields;
        break;
    case Kind::StyleSheet:
        ++leftOut.styleSheets;
        break;
    case Kind::Embedded:
        ++leftOut.embedded;
        break;
    case Kind::Keep:
    case Kind::Silent:
        break;
    }
}

bool isWebAddress(const QString& source) {
    const QString trimmed = source.trimmed();
    if (trimmed.startsWith(QLatin1String("//")))
        return true;
    const QString scheme = QUrl(trimmed).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp");
}

bool readDataAddress(const QString& source, DocPicture& picture) {
    const qsizetype comma = source.indexOf(QLatin1Char(','));
    if (comma < 0)
        return false;
    const QString header = source.left(comma);
    const QByteArray payload = source.mid(comma + 1).toLatin1();
    QByteArray bytes;
    if (header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive)) {
        const auto decoded = QByteArray::fromBase64Encoding(
            QByteArray(payload).replace(' ', "").replace('\n', "").replace('\r', ""));
        if (!decoded)
            return false;
        bytes = *decoded;
    } else {
        bytes = QByteArray::fromPercentEncoding(payload);
    }
    DocPicture read;
    read.bytes = bytes;
    read.format = DocPicture::detectFormat(bytes);
    if (read.format.isEmpty() || read.image().isNull())
        return false;
    const QSize size = read.pixelSize();
    read.width = size.width();
    read.height = size.height();
    picture = read;
    return true;
}

QString countText(int number, const char* one, const char* many, const QString& englishOne,
                  const QString& englishMany) {
    return (number == 1 ? uilanguage::text("MESSAGES", one, englishOne)
                        : uilanguage::text("MESSAGES", many, englishMany))
        .arg(number);
}

} // namespace

bool LeftOut::isEmpty() const {
    return scripts == 0 && forms == 0 && formFields == 0 && styleSheets == 0 && embedded == 0 &&
           webPictures == 0 && unreadablePictures.isEmpty();
}

QString decode(const QByteArray& bytes) {
    // Stateless: bytes cut short at the end are an error too, not left waiting.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? windows1252::decode(bytes) : text;
}

QString withoutForeignParts(const QString& html, LeftOut& leftOut,
                            const PictureFilter& keepPicture) {
    QString out;
    out.reserve(html.size());
    const qsizetype n = html.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        if (lt < 0) {
            out += QStringView(html).mid(i);
            break;
        }
        out += QStringView(html).mid(i, lt - i);
        if (QStringView(html).mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype close = html.indexOf(QLatin1String("-->"), lt + 4);
            const qsizetype end = close < 0 ? n : close + 3;
            out += QStringView(html).mid(lt, end - lt);
            i = end;
            continue;
        }
        Tag tag;
        const qsizetype end = readTag(html, lt, tag);
        if (end < 0) {
            out += QLatin1Char('<');
            i = lt + 1;
            continue;
        }
        bool withContent = true;
        bool rawText = false;
        const Kind kind = kindOf(tag, withContent, rawText);
        if (kind != Kind::Keep) {
            // A closing tag whose element is gone goes too.
            if (!tag.closing) {
                count(kind, leftOut);
                const bool selfClosed = html.at(end - 2) == QLatin1Char('/');
                i = withContent && !selfClosed ? endOfElement(html, end, tag.name, rawText) : end;
            } else {
                i = end;
            }
            continue;
        }
        if (!tag.closing && tag.name == QLatin1String("img")) {
            const QString source = tag.value(QLatin1String("src"));
            if (keepPicture && !keepPicture(source)) {
                i = end;
                continue;
            }
        }
        if (!tag.closing && tag.name == QLatin1String("a")) {
            const auto href = std::find_if(
                tag.attributes.cbegin(), tag.attributes.cend(),
                [](const Attribute& attribute) { return attribute.name == QLatin1String("href"); });
            if (href != tag.attributes.cend() &&
                href->value.trimmed().startsWith(QLatin1String("javascript:"),
                                                 Qt::CaseInsensitive)) {
                ++leftOut.scripts;
                out += QStringView(html).mid(lt, href->from - lt);
                out += QStringView(html).mid(href->to, end - href->to);
                i = end;
                continue;
            }
        }
        out += QStringView(html).mid(lt, end - lt);
        i = end;
    }
    return out;
}

bool readPicture(const QString& source, const QString& baseFolder, DocPicture& picture,
                 LeftOut& leftOut) {
    const QString trimmed = source.trimmed();
    if (trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
        if (readDataAddress(trimmed, picture))
            return true;
        leftOut.unreadablePictures.append(trimmed.left(40));
        return false;
    }
    if (isWebAddress(trimmed)) {
        // Kept by its address; an address it cannot be fetched from (ftp)
        // leaves it out.
        const QString address = DocPicture::webAddress(trimmed);
        if (address.isEmpty()) {
            ++leftOut.webPictures;
            return false;
        }
        picture = DocPicture();
        picture.address = address;
        return true;
    }
    const QUrl url(trimmed);
    QString path;
    if (url.isLocalFile())
        path = url.toLocalFile();
    else if (QDir::isAbsolutePath(trimmed))
        path = trimmed;
    else if (!baseFolder.isEmpty() && !trimmed.isEmpty()) {
        path = QDir(baseFolder).absoluteFilePath(trimmed);
        // Addresses may spell a space or an accent in percent codes.
        if (!QFileInfo::exists(path))
            path = QDir(baseFolder).absoluteFilePath(QUrl::fromPercentEncoding(trimmed.toUtf8()));
    }
    DocPicture read;
    if (path.isEmpty() || !DocPicture::fromFile(path, read)) {
        leftOut.unreadablePictures.append(path.isEmpty() ? trimmed : path);
        return false;
    }
    read.fileName.clear();
    picture = read;
    return true;
}

EdDocument::PictureResolver Prepared::resolver() const {
    return [pictures = pictures](const QString& source, DocPicture& picture) {
        const auto found = pictures.constFind(source);
        if (found == pictures.cend())
            return false;
        picture = *found;
        return true;
    };
}

Prepared prepare(const QString& html, const QString& baseFolder, LeftOut& leftOut) {
    Prepared prepared;
    prepared.html = withoutForeignParts(html, leftOut, [&](const QString& source) {
        if (prepared.pictures.contains(source))
            return true;
        DocPicture picture;
        if (!readPicture(source, baseFolder, picture, leftOut))
            return false;
        prepared.pictures.insert(source, picture);
        return true;
    });
    return prepared;
}

LeftOut importPage(EdDocument& document, const QString& html, const QString& baseFolder,
                   const EdDocument::ReadHyperlinkHandler& readHyperlink) {
    LeftOut leftOut;
    const Prepared prepared = prepare(html, baseFolder, leftOut);
    QTextCursor cursor(document.textDocument());
    cursor.movePosition(QTextCursor::End);
    const int from = cursor.position();
    cursor.insertHtml(prepared.html);
    document.adoptImportedContent(from, document.textDocument()->characterCount(), readHyperlink,
                                  prepared.resolver());
    return leftOut;
}

QString summary(const LeftOut& leftOut) {
    QStringList parts;
    if (leftOut.scripts > 0)
        parts.append(countText(leftOut.scripts, "importScriptOne", "importScriptMany",
                               QStringLiteral("%1 script"), QStringLiteral("%1 scripts")));
    if (leftOut.forms > 0)
        parts.append(countText(leftOut.forms, "importFormOne", "importFormMany",
                               QStringLiteral("%1 form"), QStringLiteral("%1 forms")));
    if (leftOut.formFields > 0)
        parts.append(countText(leftOut.formFields, "importFieldOne", "importFieldMany",
                               QStringLiteral("%1 form field"), QStringLiteral("%1 form fields")));
    if (leftOut.styleSheets > 0)
        parts.append(countText(leftOut.styleSheets, "importStyleSheetOne", "importStyleSheetMany",
                               QStringLiteral("%1 style sheet"),
                               QStringLiteral("%1 style sheets")));
    if (leftOut.embedded > 0)
        parts.append(countText(leftOut.embedded, "importEmbeddedOne", "importEmbeddedMany",
                               QStringLiteral("%1 embedded frame or media"),
                               QStringLiteral("%1 embedded frames or media")));
    if (leftOut.webPictures > 0)
        parts.append(countText(leftOut.webPictures, "importWebPictureOne", "importWebPictureMany",
                               QStringLiteral("%1 picture on the web"),
                               QStringLiteral("%1 pictures on the web")));
    const int unreadable = int(leftOut.unreadablePictures.size());
    if (unreadable > 0)
        parts.append(countText(unreadable, "importUnreadablePictureOne",
                               "importUnreadablePictureMany",
                               QStringLiteral("%1 picture that cannot be read"),
                               QStringLiteral("%1 pictures that cannot be read")));
    if (parts.isEmpty())
        return QString();
    return uilanguage::text("MESSAGES", "importLeftOut", QStringLiteral("Left out: %1."))
        .arg(parts.join(QStringLiteral(", ")));
}

} // namespace listingimport
