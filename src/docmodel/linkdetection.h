#pragma once

#include <QString>

/// Recognising web and e-mail addresses typed into the text.
namespace linkdetection {

/// A link target as stored: without carriage returns and line feeds.
QString NormalizeLinkTarget(const QString& text);

/// The address a link may lead to, on the listing page and when the seller
/// follows it: an anchor in the document ("#name") or an http, https, ftp or
/// mailto address ("www." and "ftp." addresses typed without a scheme get
/// theirs in front). The target is read as a browser would: character
/// references decoded, blanks at the ends trimmed and control characters
/// removed. Empty for every other target (script, data, local files, paths).
QString allowedLinkAddress(const QString& target);

struct DetectedLink {
    int start = 0; // offsets in the text given to `detect`
    int end = 0;
    QString target;
};

/// Looks at the last word of `textBeforeCaret` (the text of a run up to the
/// caret): without one enclosing quote or bracket at each end, is it a web
/// address or an e-mail address? The target gets "mailto:" for e-mail.
bool detect(const QString& textBeforeCaret, DetectedLink& link);

} // namespace linkdetection
