#pragma once

#include <QByteArray>
#include <QByteArrayView>

/// The page template and the server list are stored with every byte raised
/// by a fixed count (modulo 256); `ShiftText` lowers the bytes again.
///
/// The counts are chosen so that the stored forms stay intact in the files
/// that carry them:
/// - `TemplateKey` (238): the template is stored as one line, so no byte of a
///   template may be raised onto CR or LF. Only the control bytes 0x1C and
///   0x1F would be; no text holds them. CR and LF themselves become 0xFB and
///   0xF8.
/// - `ServerListKey` (117): server addresses are printable ASCII; raised,
///   they become 0x96..0xF3, so a stored value never holds a line break, a
///   blank or a quotation mark that the settings-file reader would cut or
///   strip. CR and LF become 0x82 and 0x7F.
/// Neither count maps CR or LF onto CR or LF. Changing a count makes every
/// shipped template and server list unreadable.
namespace shiftkeys {
constexpr int TemplateKey = 238;
constexpr int ServerListKey = 117;
} // namespace shiftkeys

/// Each byte b of the text becomes (b - count) modulo 256. Only count modulo
/// 256 matters; raising by n is lowering by 256 - n.
QByteArray ShiftText(QByteArrayView text, int count);
