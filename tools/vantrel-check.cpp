// Checks a listing page as publishing does: that every picture it needs is
// online, as the image test does, and with --rules what the listing rules
// find in it:
//   vantrel-check PAGE.html|- [--rules [--pictures] [--lang CODE]]
//                 [--proxy HOST[:PORT]] [--timeout SECONDS]
//   vantrel-check --published [--since DAYS] [--proxy HOST[:PORT]] [--timeout SECONDS]
//   vantrel-check --help
// Without --rules the page's pictures (img src, background attributes, CSS
// url()) are fetched, a few at a time, and one line per picture, in the
// page's order, says what was found:
//   OK  ADDRESS
//   NOT FOUND (404)  ADDRESS  (shop.example.net answered 404 Not Found)
// --rules prints the rules' findings instead, errors first, one per line:
//   error http-picture line 12: http://pictures.example/a.jpg
//   warning small-font line 29: font-size:7pt «Hold Ctrl and click a link…»
// (in «» the first words of the text a finding concerns) and fetches
// nothing; with --lang each line ends with the rule's message and what to do,
// in that language (fr: French, otherwise English):
//   error http-picture line 12: http://pictures.example/a.jpg  (Image en … https://.)
// --rules --pictures prints the findings, then fetches
// the pictures. Exit code 0 when no rule found an error and every fetched
// picture is available (warnings do not count), 1 otherwise, 2 for wrong
// arguments or a page that cannot be read. The environment's proxy
// variables are not used: a proxy is given with --proxy (port 80 by default).
// --published checks the pictures of the listings in the record of published
// listings instead (those of the last DAYS days with --since), notes what it
// found there as the program's own check does, and prints one line per
// picture that is not online, then one line of totals:
//   MISSING  NOT FOUND (404)  ADDRESS  in "Title" (published 2026-12-01 on Site), since 2026-12-05
// Exit code 0 only when every picture is online, 1 otherwise, 2 for wrong
// arguments or a record that cannot be read.
#include "http/picturecheck.h"
#include "listing/listingrules.h"
#include "pagegen/pagepictures.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"
#include "published/picturewatch.h"
#include "published/publishedrecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace {

struct Arguments {
    QString page;
    QString proxyHost;
    QString proxyPort;
    int timeLimitMs = PictureCheckOptions().timeLimitMs;
    bool rules = false;
    bool pictures = false;
    bool published = false;
    /// --since: the listings of that many last days; 0 for all.
    double sinceDays = 0;
    /// Null: the findings without their messages.
    QString language;
};

const char usageText[] =
    "usage: vantrel-check PAGE.html|- [--rules [--pictures] [--lang CODE]] "
    "[--proxy HOST[:PORT]] [--timeout SECONDS]\n"
    "       vantrel-check --published [--since DAYS] [--proxy HOST[:PORT]] "
    "[--timeout SECONDS]\n"
    "  without --rules: fetch every picture of the page\n"
    "  --rules: print the listing rules' findings, fetch nothing\n"
    "  --rules --pictures: print the findings, then fetch the pictures\n"
    "  --lang CODE: each finding with its message (fr: French, otherwise "
    "English)\n"
    "  --published: check the pictures of the listings Vantrel published "
    "(--since: of the last DAYS days only)\n"
    "exit code 0 when no error was found and every fetched picture is "
    "available, 1 otherwise, 2 for wrong arguments or an unreadable page or record\n";

int usage(const QString& problem) {
    std::fprintf(stderr, "vantrel-check: %s\n", qPrintable(problem));
    std::fputs(usageText, stderr);
    return 2;
}

/// The page's text: UTF-8 when it reads as such, otherwise the program's
/// own Windows-1252.
QString pageText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? windows1252::decode(bytes) : text;
}

void printLine(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

/// Prints the check's lines as they come and tells whether every picture
/// was available.
bool checkPictures(const QStringList& addresses, const PictureCheckOptions& options) {
    PictureCheck check;
    bool allAvailable = true;
    QObject::connect(&check, &PictureCheck::checked, [&](int index, const ImageVerdict& verdict) {
        allAvailable = allAvailable && verdict.available();
        QString line = verdict.summary + QLatin1String("  ") + addresses.at(index);
        if (!verdict.available() && !verdict.detail.isEmpty())
            line += QLatin1String("  (") + verdict.detail + QLatin1Char(')');
        printLine(line);
        if (verdict.availability == ImageAvailability::ProxyUnreachable)
            std::fprintf(stderr, "vantrel-check: %s\n", qPrintable(verdict.detail));
    });
    QObject::connect(&check, &PictureCheck::notChecked, [&](int index) {
        printLine(QLatin1String("NOT CHECKED  ") + addresses.at(index));
    });
    QObject::connect(&check, &PictureCheck::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    check.start(addresses, options);
    QCoreApplication::exec();
    return allAvailable;
}

QString dayOf(const QDateTime& time) {
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd"));
}

/// Checks the pictures of the published listings, notes what was found in
/// the record and prints each picture that is not online.
int checkPublished(const Arguments& arguments, const PictureCheckOptions& options) {
    PublishedRecord record(PublishedRecord::fileIn(WorkingFolders::locate().SharedDataFolder));
    bool setAside = false;
    QObject::connect(&record, &PublishedRecord::setAside, [&setAside](const QString& message) {
        std::fprintf(stderr, "vantrel-check: %s\n", qPrintable(message));
        setAside = true;
    });
    const QDateTime from =
        arguments.sinceDays > 0
            ? QDateTime::currentDateTimeUtc().addMSecs(-qint64(arguments.sinceDays * 86400000.0))
            : QDateTime();
    const Result<QList<PublishedListing>> listings = record.listings(from);
    if (!listings) {
        std::fprintf(stderr, "vantrel-check: %s\n", qPrintable(listings.error()));
        return 2;
    }
    // What was published before the record was set aside is not known.
    if (setAside)
        return 2;
    PictureWatch watch(record);
    QObject::connect(&watch, &PictureWatch::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    watch.start(listings.value(), options);
    QCoreApplication::exec();
    if (!watch.stored())
        std::fprintf(stderr, "vantrel-check: %s\n", qPrintable(watch.stored().error()));
    // Read back for the time each picture went missing.
    const QList<PublishedListing> checked = record.listings(from).valueOr(listings.value());
    int pictures = 0;
    int wanting = 0;
    for (const PublishedListing& listing : checked) {
        for (const PublishedPicture& picture : listing.pictures) {
            ++pictures;
            const PictureFinding finding = watch.findings().value(picture.address);
            if (finding.state == PictureState::Online)
                continue;
            ++wanting;
            QString line =
                (finding.state == PictureState::Missing ? QLatin1String("MISSING  ")
                                                        : QLatin1String("UNREACHABLE  ")) +
                finding.verdict + QLatin1String("  ") + picture.address + QLatin1String("  in \"") +
                listing.title + QLatin1String("\" (published ") + dayOf(listing.published);
            if (!listing.site.isEmpty())
                line += QLatin1String(" on ") + listing.site;
            line += QLatin1Char(')');
            if (picture.since.isValid())
                line += QLatin1String(", since ") + dayOf(picture.since);
            printLine(line);
        }
    }
    printLine(wanting == 0 ? QStringLiteral("%1 listings, %2 pictures: all online")
                                 .arg(checked.size())
                                 .arg(pictures)
                           : QStringLiteral("%1 listings, %2 pictures: %3 not online")
                                 .arg(checked.size())
                                 .arg(pictures)
                                 .arg(wanting));
    return wanting == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList words = application.arguments().mid(1);
    if (words.contains(QLatin1String("--help")) || words.contains(QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        return 0;
    }
    Arguments arguments;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (word == QLatin1String("--rules")) {
            arguments.rules = true;
        } else if (word == QLatin1String("--pictures")) {
            arguments.pictures = true;
        } else if (word == QLatin1String("--published")) {
            arguments.published = true;
        } else if (word == QLatin1String("--proxy") || word == QLatin1String("--timeout") ||
                   word == QLatin1String("--lang") || word == QLatin1String("--since")) {
            if (i + 1 >= words.size())
                return usage(word + QLatin1String(" needs a value"));
            const QString value = words.at(++i);
            if (word == QLatin1String("--lang")) {
                arguments.language = value;
            } else if (word == QLatin1String("--since")) {
                bool ok = false;
                arguments.sinceDays = value.toDouble(&ok);
                if (!ok || arguments.sinceDays <= 0 || arguments.sinceDays > 36500)
                    return usage(QLatin1String("--since needs a number of days"));
            } else if (word == QLatin1String("--proxy")) {
                const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
                arguments.proxyHost = colon < 0 ? value : value.left(colon);
                arguments.proxyPort = colon < 0 ? QString() : value.mid(colon + 1);
            } else {
                bool ok = false;
                const double seconds = value.toDouble(&ok);
                if (!ok || seconds <= 0 || seconds > 3600)
                    return usage(QLatin1String("--timeout needs a number of seconds"));
                arguments.timeLimitMs = std::max(1, int(seconds * 1000));
            }
        } else if (word.startsWith(QLatin1String("--")) || !arguments.page.isEmpty()) {
            return usage(QLatin1String("unexpected argument ") + word);
        } else {
            arguments.page = word;
        }
    }
    PictureCheckOptions options;
    options.proxyHost = arguments.proxyHost;
    options.proxyPort = arguments.proxyPort;
    options.timeLimitMs = arguments.timeLimitMs;
    if (arguments.published) {
        if (!arguments.page.isEmpty() || arguments.rules || arguments.pictures ||
            !arguments.language.isNull())
            return usage(QLatin1String("--published checks the record, not a page"));
        const PictureCheckOptions watch = PictureWatch::defaultOptions();
        options.atOnce = watch.atOnce;
        options.atOncePerHost = watch.atOncePerHost;
        return checkPublished(arguments, options);
    }
    if (arguments.sinceDays > 0)
        return usage(QLatin1String("--since goes with --published"));
    if (arguments.page.isEmpty())
        return usage(QLatin1String("no page given"));
    if (arguments.pictures && !arguments.rules)
        return usage(QLatin1String("--pictures goes with --rules"));
    if (!arguments.language.isNull() && !arguments.rules)
        return usage(QLatin1String("--lang goes with --rules"));

    QFile file;
    const bool opened = arguments.page == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(arguments.page), file.open(QIODevice::ReadOnly));
    if (!opened) {
        std::fprintf(stderr, "vantrel-check: cannot read %s: %s\n", qPrintable(arguments.page),
                     qPrintable(file.errorString()));
        return 2;
    }
    const QString page = pageText(file.readAll());

    bool ruleError = false;
    if (arguments.rules) {
        const QList<listingrules::Finding> findings = listingrules::check(page, arguments.language);
        for (const listingrules::Finding& finding : findings) {
            QString line = listingrules::describe(finding);
            if (!arguments.language.isNull())
                line += QLatin1String("  (") + finding.message + QLatin1Char(' ') + finding.advice +
                        QLatin1Char(')');
            printLine(line);
        }
        ruleError = listingrules::hasErrors(findings);
        if (!arguments.pictures)
            return ruleError ? 1 : 0;
    }

    // A few at once, and no more from one server than a browser would ask.
    options.atOnce = 8;
    options.atOncePerHost = 4;
    const bool allAvailable = checkPictures(pagePictureAddresses(page), options);
    return allAvailable && !ruleError ? 0 : 1;
}
