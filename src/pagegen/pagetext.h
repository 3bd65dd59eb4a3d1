#pragma once

#include "platform/fileurl.h"

#include <QString>
#include <QStringList>

/// Text routines of page generation. Pages and templates are line lists;
/// every line of a text ends with CR LF.

/// Splits at CR, LF or CR LF. A break at the very end starts no further line,
/// so splitting a joined list gives the list back.
QStringList splitLines(QStringView text);

/// The lines, each followed by CR LF.
QString joinLines(const QStringList& lines);

/// Every CR and every LF becomes one space; nothing is removed.
QString DeleteLineBreaks(QString text);

/// An address as it may stand inside a quoted attribute and a CSS url():
/// quotes, brackets, backslashes, blanks, controls and non-ASCII characters
/// percent-encoded, "&" written as "&amp;".
QString quotableUrl(const QString& url);
