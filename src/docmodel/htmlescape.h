#pragma once

#include <QString>
#include <QStringView>

/// Escaping for the HTML the editor exports. The result only holds
/// characters of Windows-1252: everything else becomes a numeric character
/// reference, so the page can be written in that code page without loss.
/// "£" always becomes "&#163;": the page template's merge uses "£" as its
/// variable delimiter and must never see one in the seller's text.
namespace htmlescape {

/// Text content: markup characters, "£", characters outside the code page;
/// C0 control characters other than tab are dropped.
void appendText(QString& out, QStringView text);
/// An attribute value for double quotes: as text, and quotes of both kinds.
void appendAttribute(QString& out, QStringView value);
QString attribute(QStringView value);
/// A font name fit to stand inside single quotes in a style attribute.
QString fontFamily(QStringView name);

} // namespace htmlescape
