#pragma once

#include "platform/result.h"

#include <QString>

class WebParts;

/// Finds and loads the web module, which holds every part that shows web
/// pages, from the folder of the program's own libraries (the build's
/// library folder, or lib/vantrel when installed).
namespace webmoduleloader {

/// The module's file, with its path.
QString fileName();

/// The module's parts, loaded at the first call and kept until the program
/// ends; when the module cannot be loaded, the failure says why and names
/// the file.
Result<WebParts*> load();

} // namespace webmoduleloader
