// Publishes a listing with its pictures on the seller's own server: every
// picture the page needs (the document's and the layout's) is prepared for
// the web and sent, then the published page is written:
//   vantrel-upload DOCUMENT LAYOUT.rbs --to URL --public URL [--user NAME]
//                  [--key FILE] [--known-hosts FILE] [--cacert FILE]
//                  [--max-side N] [-o PAGE.html]
//   vantrel-upload --help
// --to names the server's folder: sftp://, https:// (WebDAV), ftps:// or
// ftp://; --public is that folder's address on the web, which the page names
// the pictures by. The password comes from VANTREL_PASSWORD, or is asked on
// the terminal when standard input is one (and no --key is given). A host key
// is looked up in ~/.ssh/known_hosts and the program's own known-hosts file,
// or only in the --known-hosts file; an unknown or changed key is refused.
// One line per picture goes to standard error ("sent NAME", "unchanged NAME",
// "failed NAME: reason"); the page goes to -o (written whole or not at all)
// or standard output. A refused login, a server that cannot be reached or
// trusted: nothing more is sent and no page is written. Exit code 0 when
// every picture is on the server and the page written, 1 otherwise, 2 for
// wrong arguments. A picture already on the server in the same version (the
// record of what was sent, in the shared data folder) is not sent again.
#include "http/uploadaccount.h"
#include "http/uploadrun.h"
#include "listing/listingpage.h"
#include "listing/uploadrecord.h"
#include "pagegen/pagetext.h"
#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"
#include "settings/serveraddress.h"
#include "toolmessages.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

const char usageText[] =
    "usage: vantrel-upload DOCUMENT LAYOUT.rbs --to URL --public URL [--user NAME] [--key FILE]\n"
    "                      [--known-hosts FILE] [--cacert FILE] [--max-side N] [-o PAGE.html]\n"
    "  DOCUMENT: a Vantrel document (.vdoc) or its HTML fragment (.html, .htm)\n"
    "  --to URL: the server's folder the pictures go to: sftp://host[:port]/folder/,\n"
    "            https://host[:port]/folder/ (WebDAV), ftps://... or ftp://...\n"
    "  --public URL: that folder's address on the web, which the page names them by\n"
    "  --user NAME: the login (or give it in --to: sftp://NAME@host/...)\n"
    "  --key FILE: SFTP: the private key to log in with\n"
    "  --known-hosts FILE: SFTP: the only known-hosts file the host key is looked up in\n"
    "                      (default: ~/.ssh/known_hosts and Vantrel's own)\n"
    "  --cacert FILE: WebDAV, FTPS: trust the certificate (or authority) in FILE\n"
    "  --max-side N: pictures larger than N pixels on their long side are scaled down\n"
    "                (default 1600)\n"
    "  -o PAGE.html: write the published page there instead of standard output\n"
    "The password comes from VANTREL_PASSWORD or is asked on the terminal. An unknown\n"
    "or changed host key, or a certificate not trusted, is refused.\n"
    "One line per picture on standard error: sent NAME, unchanged NAME, failed NAME: reason.\n"
    "exit code 0 when every picture is on the server and the page written, 1 otherwise,\n"
    "2 for wrong arguments\n";

struct Arguments {
    QString document;
    QString layout;
    QString to;
    QString publicAddress;
    QString user;
    QString keyFile;
    QString knownHosts;
    QString caCert;
    QString output;
    int maxSide = webphoto::Options().maxLongSide;
};

int usage(const QString& problem) {
    std::fprintf(stderr, "vantrel-upload: %s\n", qPrintable(problem));
    std::fputs(usageText, stderr);
    return 2;
}

void printLine(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

/// The wrong argument, or nothing when all are right.
std::optional<QString> parseArguments(const QStringList& words, Arguments& parsed) {
    QStringList files;
    const std::pair<const char*, QString*> valued[] = {
        {"--to", &parsed.to},
        {"--public", &parsed.publicAddress},
        {"--user", &parsed.user},
        {"--key", &parsed.keyFile},
        {"--known-hosts", &parsed.knownHosts},
        {"--cacert", &parsed.caCert},
        {"-o", &parsed.output},
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        QString* value = nullptr;
        for (const auto& [name, target] : valued)
            if (word == QLatin1String(name))
                value = target;
        if (value || word == QLatin1String("--max-side")) {
            if (i + 1 >= words.size() || words.at(i + 1).isEmpty())
                return word + QLatin1String(" needs a value");
            const QString given = words.at(++i);
            if (value) {
                *value = given;
                continue;
            }
            bool ok = false;
            parsed.maxSide = given.toInt(&ok);
            if (!ok || parsed.maxSide < 16 || parsed.maxSide > 20000)
                return QStringLiteral("--max-side needs a number of pixels from 16 to 20000");
        } else if (word.startsWith(QLatin1Char('-'))) {
            return QLatin1String("unexpected argument ") + word;
        } else {
            files.append(word);
        }
    }
    if (files.size() != 2)
        return QStringLiteral("give a document and a layout file");
    parsed.document = files.at(0);
    parsed.layout = files.at(1);
    if (parsed.to.isEmpty())
        return QStringLiteral("--to is missing: where should the pictures go?");
    if (parsed.publicAddress.isEmpty())
        return QStringLiteral("--public is missing: where are the pictures on the web?");
    return std::nullopt;
}

/// The password, asked on the terminal without showing it; empty when there
/// is no terminal to ask on.
QString askPassword(const UploadAccount& account) {
    if (!isatty(STDIN_FILENO))
        return {};
    std::fprintf(stderr, "Password for %s@%s: ", qPrintable(account.user),
                 qPrintable(account.host));
    std::fflush(stderr);
    termios before{};
    const bool quiet = tcgetattr(STDIN_FILENO, &before) == 0;
    if (quiet) {
        termios hidden = before;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    QByteArray line;
    for (int c = std::fgetc(stdin); c != EOF && c != '\n'; c = std::fgetc(stdin))
        line += char(c);
    if (quiet)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    std::fputc('\n', stderr);
    const QString password = QString::fromLocal8Bit(line);
    line.fill('\0');
    return password;
}

/// Nothing could go to the server: the page would name pictures that are
/// not there.
bool serverStopped(const UploadRun& run) {
    for (const UploadItemResult& result : run.results()) {
        switch (result.outcome.problem) {
        case UploadProblem::Cancelled:
        case UploadProblem::HostNotFound:
        case UploadProblem::Refused:
        case UploadProblem::Unreachable:
        case UploadProblem::WrongLogin:
        case UploadProblem::UnknownHostKey:
        case UploadProblem::ChangedHostKey:
        case UploadProblem::UntrustedCertificate:
            return true;
        default:
            break;
        }
    }
    return false;
}

int upload(const Arguments& args) {
    Result<UploadAccount> account = UploadAccount::fromUrl(args.to);
    if (!account)
        return usage(QStringLiteral("--to: ") + account.error());
    const std::optional<QString> publicAddress = serveraddress::fromTyped(args.publicAddress);
    if (!publicAddress || publicAddress->isEmpty())
        return usage(QStringLiteral("--public needs an http:// or https:// address"));
    const WorkingFolders folders = WorkingFolders::locate();
    UploadAccount& to = account.value();
    if (!args.user.isEmpty())
        to.user = args.user;
    to.keyFile = args.keyFile;
    to.caCertFile = args.caCert;
    to.knownHostsFiles = args.knownHosts.isEmpty()
                             ? QStringList{QDir::homePath() + QStringLiteral("/.ssh/known_hosts"),
                                           folders.knownHostsFile()}
                             : QStringList{args.knownHosts};
    if (to.protocol == UploadAccount::Protocol::Ftp)
        printLine(QStringLiteral("vantrel-upload: warning: plain FTP sends the password in clear; "
                                 "use sftp://, https:// or ftps:// when the server allows."));

    listingpage::Request request;
    request.document = args.document;
    request.layout = args.layout;
    request.picturesFolder =
        args.output.isEmpty() ? QDir::currentPath() : QFileInfo(args.output).absolutePath();
    request.server = *publicAddress;
    const Result<listingpage::Page> page = listingpage::make(request, folders);
    if (!page) {
        printLine(QStringLiteral("vantrel-upload: ") + page.error());
        return 1;
    }

    QList<UploadItem> items;
    for (const pictureplan::Entry& picture : page->pictures) {
        UploadItem item;
        if (picture.bytes.isEmpty())
            item.localFile = picture.localFile;
        item.bytes = picture.bytes;
        item.remoteName = picture.serverName;
        item.address = picture.serverAddress;
        items.append(item);
    }
    if (!items.isEmpty()) {
        to.password = qEnvironmentVariable("VANTREL_PASSWORD");
        if (to.password.isEmpty() && to.keyFile.isEmpty())
            to.password = askPassword(to);
    }

    UploadRun::Options options;
    options.photo.maxLongSide = args.maxSide;
    options.recordFile = UploadRecord::fileFor(folders.SharedDataFolder, *publicAddress);
    UploadRun run(to, items, options);
    QObject::connect(&run, &UploadRun::itemFinished, [&](int index, const UploadItemResult& r) {
        const QString& name = items.at(index).remoteName;
        switch (r.state) {
        case UploadItemResult::State::Sent:
            printLine(QStringLiteral("sent ") + name);
            break;
        case UploadItemResult::State::Unchanged:
            printLine(QStringLiteral("unchanged ") + name);
            break;
        case UploadItemResult::State::Failed:
        case UploadItemResult::State::Cancelled:
            printLine(QStringLiteral("failed ") + name + QStringLiteral(": ") + r.outcome.message);
            break;
        }
    });
    QObject::connect(&run, &UploadRun::untrustedServer, [](const UploadOutcome& outcome) {
        QString line =
            QStringLiteral("vantrel-upload: the server is not trusted: ") + outcome.message;
        if (!outcome.identity.fingerprint.isEmpty())
            line +=
                QStringLiteral(" (fingerprint ") + outcome.identity.fingerprint + QLatin1Char(')');
        printLine(line);
    });
    QObject::connect(&run, &UploadRun::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    run.start();
    QCoreApplication::exec();
    to.password.fill(u'\0');
    if (!run.recordProblem().isEmpty())
        printLine(QStringLiteral("vantrel-upload: warning: ") + run.recordProblem());
    if (serverStopped(run)) {
        printLine(QStringLiteral("vantrel-upload: nothing more was sent; no page was written."));
        return 1;
    }
    try {
        writeFileOrStandardOutput(args.output, windows1252::encode(joinLines(page->lines)));
    } catch (const AppError& error) {
        printLine(QStringLiteral("vantrel-upload: ") + error.message());
        return 1;
    }
    return run.succeeded() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Pictures and text of the document need the GUI module, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    toolmessages::leaveOutRuntimeFolderNotice();
    QGuiApplication app(argc, argv);
    const QStringList words = QCoreApplication::arguments().mid(1);
    if (words.contains(QLatin1String("--help")) || words.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return 0;
    }
    Arguments args;
    if (const std::optional<QString> wrong = parseArguments(words, args))
        return usage(*wrong);
    return upload(args);
}
