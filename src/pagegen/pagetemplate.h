#pragma once

#include <QString>
#include <QStringList>

/// The page template "Default.tmpl": the style sheet and the opening of the
/// page's tables, stored as one line with every byte raised by
/// `shiftkeys::TemplateKey`.

/// Reads the stored template into its plain lines; false (and `lines`
/// empty) when the file cannot be read.
bool readPageTemplate(const QString& fileName, QStringList& lines);

/// The message shown when the template cannot be read: three sentences, the
/// second on a new line, the third after an empty line.
QString templateUnreadableMessage();
