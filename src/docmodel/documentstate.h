#pragma once

#include <QString>

/// The document being edited, as the rest of the program sees it.
struct DocumentState {
    QString DocumentFileName; // name only; the full path for an example document
    QString DocumentPath;     // the document's file, full path; empty before it has one
    bool ExampleOpen = false; // an example or tutorial: cannot be published
};
