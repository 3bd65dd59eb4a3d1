#pragma once

#include <QByteArray>

/// The native document file: a header (magic, version, payload size) and the
/// zlib-compressed payload that VDocWriter writes and VDocReader reads.
namespace vdocformat {

inline QByteArray magic() {
    return QByteArrayLiteral("VDOC");
}
constexpr quint16 kVersion = 1;
constexpr int kHeaderSize = 12; // magic, version, reserved u16, payload size u32

/// Item codes in the payload.
enum ItemCode : quint8 {
    ItemText = 1,
    ItemPicture,
    ItemTable,
    ItemHLine,
    ItemPageBreak,
    ItemAnchor
};
/// Item flags.
constexpr quint8 kStartsParagraph = 1;

// Limits a damaged or hostile file cannot go past.
constexpr qsizetype kMaxPayload = 512 * 1024 * 1024;
constexpr int kMaxNesting = 16;        // tables inside table cells
constexpr int kMaxTableSide = 10000;   // rows or columns
constexpr int kMaxCellsPerRecord = 64; // grid cells per stored cell (spans)
constexpr int kMaxMeasure = 100000;    // pixels of an indent, size or margin
constexpr int kMaxFontSize = 1638;
constexpr int kMaxListLevel = 8;

} // namespace vdocformat
