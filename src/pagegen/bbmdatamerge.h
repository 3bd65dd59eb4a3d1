#pragma once

#include "pagegen/bbmdatamergevars.h"
#include "platform/apperror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;
class ResultWriter;
class SourceWindow;

/// Where a merge reads its text from or writes its result to.
enum TMergeMedium {
    mmText,  ///< a string of the component
    mmFile,  ///< a named file
    mmStream ///< a device the caller owns
};

/// The source file of a merge does not exist.
class EMissingFile : public AppError {
public:
    using AppError::AppError;
};

/// Copies a text to a destination and replaces on the way every variable, a
/// name between `DelimStart` and `DelimEnd`, by its value from `Vars()` or,
/// for names the list does not hold, from `OnLookup`.
///
/// Text is single-byte Windows-1252: files and streams hold those bytes, and
/// the strings of this class are converted to and from them (characters the
/// code page lacks become "?"). Plain text is copied from device to device in
/// a bounded window, so sources of any size merge in little memory.
///
/// Devices given in `SourceStream` and `DestStream` stay the caller's: they
/// are neither closed nor rewound. The source must allow seeking; the merge
/// covers it from its current position to its end, where it leaves it, and
/// the result is written at the destination's current position.
class TBBMDataMerge {
public:
    /// Gets the variable name verbatim; what it leaves in `ReplaceWith`
    /// (empty on entry) replaces the variable.
    using TLookupEvent =
        std::function<void(TBBMDataMerge& Sender, QString Source, QString& ReplaceWith)>;
    /// Gets the share of the source dealt with, 0 to 100.
    using TProgressEvent = std::function<void(TBBMDataMerge& Sender, qint32 Percent)>;

    TBBMDataMerge();
    ~TBBMDataMerge();
    TBBMDataMerge(const TBBMDataMerge&) = delete;
    TBBMDataMerge& operator=(const TBBMDataMerge&) = delete;

    /// Open and close a variable. An empty delimiter, or one with a character
    /// the code page lacks, never occurs in the text.
    QString DelimStart;
    QString DelimEnd;
    TLookupEvent OnLookup;
    TProgressEvent OnProgress;

    TMergeMedium SourceType = mmText;
    QString SourceFile;
    QIODevice* SourceStream = nullptr;

    TMergeMedium DestType = mmText;
    QString DestFile;
    QIODevice* DestStream = nullptr;

    const QString& SourceText() const { return m_sourceText; }
    /// Stores the text and makes it the source (`SourceType` becomes `mmText`).
    void setSourceText(const QString& text);
    /// The result of the last merge into `mmText`.
    const QString& DestText() const { return m_destText; }

    TBBMDataMergeVars& Vars() { return *m_vars; }
    const TBBMDataMergeVars& Vars() const { return *m_vars; }

    /// Performs one merge. Throws `EMissingFile` when the source file does
    /// not exist (nothing else is done then) and `AppError` when a device
    /// cannot be opened, read or written. A file destination is replaced
    /// only when the whole merge succeeds, and then holds exactly the result.
    void Execute();

    /// Finds the first occurrence of `Delim` at or after the stream's
    /// position, looking at two blocks of max(1024, length of `Delim`) bytes
    /// at a time. Found: the stream is positioned just after it. Not found
    /// (always so for an empty `Delim`): the stream is at its end.
    static bool FindInStream(QIODevice& stream, const QByteArray& Delim);

private:
    struct OpenDevices;

    void openSource(OpenDevices& devices) const;
    void openDestination(OpenDevices& devices) const;
    void mergeStreams(SourceWindow& source, ResultWriter& dest);
    /// Writes the value of the variable named between the two offsets.
    void writeValue(SourceWindow& source, qint64 nameStart, qint64 nameEnd, ResultWriter& dest);
    static QByteArrayView windowBytes(SourceWindow& source, qint64 position, qint64 minimum);
    static void copyRange(SourceWindow& source, qint64 from, qint64 to, ResultWriter& dest);
    /// Where the first occurrence of `delimiter` at or after `from` starts;
    /// -1 when there is none.
    static qint64 findIn(SourceWindow& source, const QByteArray& delimiter, qint64 from);
    void reportProgress(qint32 percent);

    QString m_sourceText;
    QString m_destText;
    std::unique_ptr<TBBMDataMergeVars> m_vars;
};
