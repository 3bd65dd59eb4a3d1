#pragma once

#include <QString>
#include <optional>

/// The address of a personal image server as the settings keep it: empty
/// when it is not set, otherwise an absolute http or https address ending
/// with "/", to which picture file names are appended.
namespace serveraddress {

/// The address for what the user typed: trimmed, "/" appended when missing.
/// Empty text, and the placeholder texts older settings files hold, give an
/// empty address (not set). Nothing when the text is no such address.
std::optional<QString> fromTyped(const QString& text);

/// The address is set: pictures can be published on it.
bool isSet(const QString& address);

} // namespace serveraddress
