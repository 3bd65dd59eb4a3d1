#include "http/knownhosts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>

namespace knownhosts {

namespace {

/// A host pattern of a plain entry: "*" any run, "?" one character.
bool patternMatches(const QString& pattern, const QString& name) {
    // Only "*" and "?" are special: "[host]:port" is a name, not a set.
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    const QRegularExpression matcher(QRegularExpression::anchoredPattern(expression),
                                     QRegularExpression::CaseInsensitiveOption);
    return matcher.match(name).hasMatch();
}

/// "|1|salt|hash": the HMAC-SHA1 of the name under the salt.
bool hashedMatches(const QString& entry, const QString& name) {
    const QStringList parts = entry.split(QLatin1Char('|'));
    if (parts.size() != 4 || parts[1] != QLatin1String("1"))
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray hash = QByteArray::fromBase64(parts[3].toLatin1());
    return QMessageAuthenticationCode::hash(name.toUtf8(), salt, QCryptographicHash::Sha1) == hash;
}

bool hostsMatch(const QString& hosts, const QString& name) {
    if (hosts.startsWith(QLatin1Char('|')))
        return hashedMatches(hosts, name);
    bool matched = false;
    for (const QString& pattern : hosts.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (pattern.startsWith(QLatin1Char('!'))) {
            if (patternMatches(pattern.mid(1), name))
                return false;
        } else if (patternMatches(pattern, name)) {
            matched = true;
        }
    }
    return matched;
}

struct Look {
    bool known = false;
    bool otherKey = false;
    bool revoked = false;
};

void lookIn(const QString& fileName, const QString& name, const QString& type,
            const QByteArray& encoded, Look& look) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QString text = QString::fromUtf8(file.readLine()).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = text.split(QRegularExpression(QStringLiteral("\\s+")));
        QString marker;
        if (fields.first().startsWith(QLatin1Char('@')))
            marker = fields.takeFirst();
        // Certificate authorities are not used for host keys here.
        if (fields.size() < 3 || marker == QLatin1String("@cert-authority"))
            continue;
        const bool sameKey = fields[1] == type && fields[2].toLatin1() == encoded;
        if (marker == QLatin1String("@revoked")) {
            look.revoked = look.revoked || sameKey;
            continue;
        }
        if (!hostsMatch(fields[0], name))
            continue;
        if (sameKey)
            look.known = true;
        else if (fields[1] == type)
            look.otherKey = true;
    }
}

} // namespace

Verdict check(const QStringList& files, const QString& host, int port, const QByteArray& blob) {
    const QString name = hostName(host, port);
    const QString type = keyType(blob);
    const QByteArray encoded = blob.toBase64();
    Look look;
    for (const QString& file : files)
        lookIn(file, name, type, encoded, look);
    if (look.revoked || type.isEmpty())
        return Verdict::Changed;
    if (look.known)
        return Verdict::Known;
    return look.otherKey ? Verdict::Changed : Verdict::Unknown;
}

QString keyType(const QByteArray& blob) {
    if (blob.size() < 4)
        return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(blob.constData());
    const quint32 length = quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 |
                           quint32(bytes[2]) << 8 | quint32(bytes[3]);
    if (length == 0 || length > 64 || qsizetype(length) > blob.size() - 4)
        return {};
    const QByteArray type = blob.mid(4, qsizetype(length));
    for (const char c : type) {
        if (c <= ' ' || c > '~')
            return {};
    }
    return QString::fromLatin1(type);
}

QString fingerprint(const QByteArray& blob) {
    QByteArray digest = QCryptographicHash::hash(blob, QCryptographicHash::Sha256).toBase64();
    while (digest.endsWith('='))
        digest.chop(1);
    return QStringLiteral("SHA256:") + QString::fromLatin1(digest);
}

QString hostName(const QString& host, int port) {
    const QString name = host.toLower();
    if (port == 22)
        return name;
    return QStringLiteral("[%1]:%2").arg(name).arg(port);
}

QString line(const QString& host, int port, const QByteArray& blob) {
    return hostName(host, port) + QLatin1Char(' ') + keyType(blob) + QLatin1Char(' ') +
           QString::fromLatin1(blob.toBase64());
}

} // namespace knownhosts
