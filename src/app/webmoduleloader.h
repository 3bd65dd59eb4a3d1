#pragma once

#include <QString>

class WebParts;

/// Finds and loads the web module, which holds every part that shows web
/// pages, from the folder of the program's own libraries (the build's
/// library folder, or lib/vantrel when installed).
namespace webmoduleloader {

/// The module's file, with its path.
QString fileName();

/// The module's parts, loaded at the first call and kept until the program
/// ends; nullptr when the module cannot be loaded, with `error` saying why
/// and naming the file.
WebParts* load(QString* error = nullptr);

} // namespace webmoduleloader
