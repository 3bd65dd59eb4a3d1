#pragma once

#include <QString>

/// Recognising web and e-mail addresses typed into the text.
namespace linkdetection {

/// A link target as stored: without carriage returns and line feeds.
QString NormalizeLinkTarget(const QString& text);

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
