#pragma once

#include "layout/layout.h"

#include <QString>

/// What a layout file (".rbs") gives page generation: the record and the
/// "Equal Margins" state kept beside it.
struct LayoutFileValues {
    Layout layout = Layout::withDefaults();
    bool TxtAllMargins = true;
};

/// Reads a layout file without any window. Every missing key, and every
/// flag that is not an integer, takes its default; a missing file reads as
/// all defaults.
LayoutFileValues readLayoutValues(const QString& fileName);
