#pragma once

#include <QString>
#include <QStringView>

/// A `file:` URL for a local path, "/" and "\" both taken as separators.
/// Letter case is kept (the file system tells "Sky.GIF" from "sky.gif") and
/// every character but letters, digits, "-._~", ":" and the separators is
/// percent-encoded (UTF-8), so the URL leads to the file for any name and can
/// close neither a quoted attribute nor a CSS url().
QString PathToFileUrl(const QString& path);

namespace urltext {

/// One character, or a surrogate pair, starting at `i`.
QStringView characterAt(QStringView text, qsizetype i);

/// Appends the character's UTF-8 bytes as "%XX" each, in upper case.
void appendPercentEncoded(QString& out, QStringView character);

} // namespace urltext
