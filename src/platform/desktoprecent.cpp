#include "platform/desktoprecent.h"

#include "platform/apperror.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace desktoprecent {

namespace {

const QString bookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString mimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

QString stamp(const QDateTime& when) {
    return when.toUTC().toString(Qt::ISODateWithMs);
}

QString href(const QString& path) {
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

void writeApplication(QXmlStreamWriter& out, const Use& use, int count) {
    out.writeEmptyElement(QStringLiteral("bookmark:application"));
    out.writeAttribute(QStringLiteral("name"), use.program);
    out.writeAttribute(QStringLiteral("exec"), u'\'' + use.command + u'\'');
    out.writeAttribute(QStringLiteral("modified"), stamp(use.when));
    out.writeAttribute(QStringLiteral("count"), QString::number(count));
}

void writeBookmark(QXmlStreamWriter& out, const Use& use) {
    out.writeStartElement(QStringLiteral("bookmark"));
    out.writeAttribute(QStringLiteral("href"), href(use.path));
    out.writeAttribute(QStringLiteral("added"), stamp(use.when));
    out.writeAttribute(QStringLiteral("modified"), stamp(use.when));
    out.writeAttribute(QStringLiteral("visited"), stamp(use.when));
    out.writeStartElement(QStringLiteral("info"));
    out.writeStartElement(QStringLiteral("metadata"));
    out.writeAttribute(QStringLiteral("owner"), QStringLiteral("http://freedesktop.org"));
    out.writeEmptyElement(QStringLiteral("mime:mime-type"));
    out.writeAttribute(QStringLiteral("type"), use.mimeType);
    out.writeStartElement(QStringLiteral("bookmark:applications"));
    writeApplication(out, use, 1);
    out.writeEndElement();
    out.writeEndElement();
    out.writeEndElement();
    out.writeEndElement();
}

QByteArray newList(const Use& use) {
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("xbel"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    out.writeAttribute(QStringLiteral("xmlns:bookmark"), bookmarkNs);
    out.writeAttribute(QStringLiteral("xmlns:mime"), mimeNs);
    writeBookmark(out, use);
    out.writeEndDocument();
    return bytes;
}

/// The list again with the use recorded; empty when it is not a list.
QByteArray updatedList(const QByteArray& old, const Use& use) {
    QXmlStreamReader in(old);
    // Names are copied as they are written, prefixes and all.
    in.setNamespaceProcessing(false);
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    const QString ours = href(use.path);
    bool sawList = false;
    bool inOurs = false;
    bool listed = false;
    bool counted = false;
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartDocument:
            out.writeStartDocument(in.documentVersion().isEmpty()
                                       ? QStringLiteral("1.0")
                                       : in.documentVersion().toString());
            break;
        case QXmlStreamReader::StartElement: {
            const QString name = in.qualifiedName().toString();
            QXmlStreamAttributes attributes = in.attributes();
            if (name == QLatin1String("xbel"))
                sawList = true;
            if (name == QLatin1String("bookmark") &&
                attributes.value(QLatin1String("href")) == ours) {
                inOurs = true;
                listed = true;
                QXmlStreamAttributes changed;
                for (const QXmlStreamAttribute& a : std::as_const(attributes)) {
                    const QString key = a.qualifiedName().toString();
                    const bool stamped =
                        key == QLatin1String("modified") || key == QLatin1String("visited");
                    changed.append(key, stamped ? stamp(use.when) : a.value().toString());
                }
                attributes = changed;
            } else if (inOurs && name == QLatin1String("bookmark:application") &&
                       attributes.value(QLatin1String("name")) == use.program) {
                counted = true;
                const int count = attributes.value(QLatin1String("count")).toInt();
                writeApplication(out, use, count + 1);
                in.skipCurrentElement();
                break;
            }
            out.writeStartElement(name);
            for (const QXmlStreamAttribute& a : std::as_const(attributes))
                out.writeAttribute(a.qualifiedName().toString(), a.value().toString());
            break;
        }
        case QXmlStreamReader::EndElement: {
            const QString name = in.qualifiedName().toString();
            if (inOurs && name == QLatin1String("bookmark:applications") && !counted) {
                writeApplication(out, use, 1);
                counted = true;
            }
            if (name == QLatin1String("bookmark"))
                inOurs = false;
            if (name == QLatin1String("xbel") && !listed) {
                writeBookmark(out, use);
                out.writeCharacters(QStringLiteral("\n"));
            }
            out.writeEndElement();
            break;
        }
        case QXmlStreamReader::Characters:
            if (in.isCDATA())
                out.writeCDATA(in.text().toString());
            else
                out.writeCharacters(in.text().toString());
            break;
        case QXmlStreamReader::Comment:
            out.writeComment(in.text().toString());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            out.writeProcessingInstruction(in.processingInstructionTarget().toString(),
                                           in.processingInstructionData().toString());
            break;
        case QXmlStreamReader::DTD:
            out.writeDTD(in.text().toString());
            break;
        case QXmlStreamReader::EntityReference:
            out.writeEntityReference(in.name().toString());
            break;
        default:
            break;
        }
    }
    if (in.hasError() || !sawList)
        return {};
    out.writeEndDocument();
    return bytes;
}

} // namespace

QString listFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("recently-used.xbel"));
}

Status add(const QString& list, const Use& use) {
    QByteArray old;
    const bool exists = QFileInfo::exists(list);
    if (exists && !readWholeFile(list, old))
        return fail(QStringLiteral("The list of recent files \"%1\" cannot be read.")
                        .arg(QDir::toNativeSeparators(list)));
    QByteArray bytes;
    if (!exists || old.trimmed().isEmpty()) {
        bytes = newList(use);
    } else {
        bytes = updatedList(old, use);
        if (bytes.isEmpty())
            return fail(QStringLiteral("The list of recent files \"%1\" is damaged; it was "
                                       "left as it is.")
                            .arg(QDir::toNativeSeparators(list)));
    }
    try {
        QDir().mkpath(QFileInfo(list).absolutePath());
        writeFileAtomically(list, bytes);
    } catch (const AppError& error) {
        return fail(error.message());
    }
    return {};
}

} // namespace desktoprecent
