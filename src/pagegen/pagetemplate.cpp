#include "pagegen/pagetemplate.h"

#include "pagegen/pagetext.h"
#include "pagegen/shifttext.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"

namespace {

// Kept raised by the template key, like the template itself, so the
// program file shows no plain text of them.
const char* const unreadableSentences[] = {
    "\x42\x56\x53\x0e\x5e\x4f\x55\x53\x0e\x62\x53\x5b\x5e\x5a\x4f\x62"
    "\x53\x0e\x10\x32\x53\x54\x4f\x63\x5a\x62\x1c\x62\x5b\x5e\x5a\x10"
    "\x0e\x51\x5d\x63\x5a\x52\x0e\x5c\x5d\x62\x0e\x50\x53\x0e\x60\x53"
    "\x4f\x52\x1c",
    "\x3e\x5a\x53\x4f\x61\x53\x0e\x57\x5c\x61\x62\x4f\x5a\x5a\x0e\x44"
    "\x4f\x5c\x62\x60\x53\x5a\x0e\x4f\x55\x4f\x57\x5c\x0e\x62\x5d\x0e"
    "\x60\x53\x61\x62\x5d\x60\x53\x0e\x57\x62\x1c",
    "\x43\x5c\x62\x57\x5a\x0e\x62\x56\x53\x5c\x1a\x0e\x5a\x57\x61\x62"
    "\x57\x5c\x55\x61\x0e\x4f\x60\x53\x0e\x5b\x4f\x52\x53\x0e\x65\x57"
    "\x62\x56\x5d\x63\x62\x0e\x62\x56\x53\x0e\x5a\x4f\x67\x5d\x63\x62"
    "\x15\x61\x0e\x52\x53\x51\x5d\x60\x4f\x62\x57\x5d\x5c\x1c",
};

QString unscrambled(const char* sentence) {
    return windows1252::decode(ShiftText(QByteArrayView(sentence), shiftkeys::TemplateKey));
}

QString shifted(const QString& text) {
    return windows1252::decode(ShiftText(windows1252::encode(text), shiftkeys::TemplateKey));
}

} // namespace

bool readPageTemplate(const QString& fileName, QStringList& lines) {
    lines.clear();
    QByteArray stored;
    if (!readWholeFile(fileName, stored))
        return false;
    // Each stored line gets a line break before the shift; lowered, those
    // breaks are two bytes that end the text together with the break of the
    // second join. A template stored as one line thus gives exactly its
    // plain lines, whether or not a break follows it in the file.
    const QString plain = shifted(joinLines(splitLines(windows1252::decode(stored))));
    QString joined = joinLines(splitLines(plain));
    joined.chop(4);
    lines = splitLines(joined);
    return true;
}

QString templateUnreadableMessage() {
    return unscrambled(unreadableSentences[0]) + QLatin1Char('\n') +
           unscrambled(unreadableSentences[1]) + QLatin1String("\n\n") +
           unscrambled(unreadableSentences[2]);
}
