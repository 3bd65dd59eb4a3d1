#pragma once

#include "layout/layout.h"
#include "platform/result.h"

#include <QString>
#include <QStringList>

/// What a layout file (".rbs") holds: the `Layout` record and the state of
/// the "Equal Margins" box, which is kept in the file but not in the record.
struct LayoutFileContent {
    Layout layout = Layout::withDefaults();
    bool TxtAllMargins = true;
};

namespace layoutfile {

/// Reads a layout file. Every key that is missing, and every flag that is
/// not an integer, takes its default; a missing file reads as all defaults.
/// Both spellings the program has used for a key name read alike, since
/// keys match without regard to case. Fails, naming the file, when it is
/// too large to be a layout file or cannot be read.
Result<LayoutFileContent> read(const QString& fileName);

/// Writes the 32 keys in their fixed order, each replaced in place, so that
/// everything else a file holds (other sections, comments) stays. A new file
/// gets the sections and keys in that order. The file is replaced once with
/// all the keys or not at all: when a value cannot be stored, or the file
/// cannot be written, it fails naming the file and leaves the file (or its
/// absence) as it was.
Status write(const QString& fileName, const LayoutFileContent& content);

/// "SECTION/Key" of every key `write` writes, in its order.
QStringList writtenKeys();

} // namespace layoutfile
