#pragma once

#include <QByteArray>
#include <QChar>

/// The native document file: a header (magic, version, payload size) and the
/// zlib-compressed payload that VDocWriter writes and VDocReader reads.
///
/// All numbers are little-endian; a string is a u32 byte count and UTF-8, a
/// byte block a u32 count and the bytes, a colour a validity byte and, when
/// valid, u32 ARGB.
///
///   header   "VDOC", u16 version, u16 0, u32 payload size
///   payload  text styles:  u32 count, each name, font, i32 size, u8 style
///                          bits, colour, back colour, u8 overline, u8 all
///                          caps, u8 vertical shift, u8 jump, i32 non-link
///            para styles:  u32 count, each name, u8 alignment, u32 tab
///                          count and i32 tabs, i32 left, right, first
///                          indent, space before, after, line spacing, colour,
///                          [version 3: u8 direction (0 from the text, 1 left
///                          to right, 2 right to left), i32 border width (0:
///                          none), border colour]
///            list styles:  u32 count, each name, u8 type, bullet, i32 start,
///                          i32 indent step
///            layout:       background colour, u8 has picture [picture],
///                          i32 margins left, top, right, bottom
///            lists:        u32 count, each i32 list style, i32 level
///            body:         container
///   container  u32 item count, each u8 item code, u8 flags; a paragraph's
///              first item (flag 1) is preceded by i32 paragraph style and
///              i32 list (-1: none); then by code:
///     text       i32 style, tag, text
///     picture    bytes, format, file name, i32 width, i32 height, u8
///                vertical alignment, tag, u8 jump, [version 4: web address
///                (empty: the picture is its bytes; else http or https, and
///                the bytes are empty)]
///     table      i32 rows, i32 columns, i32 border, border colour, i32
///                padding, i32 spacing, background, u8 alignment, u8 width
///                type, i32 width, [version 2: u32 column count (0 or the
///                columns), each u8 width type, i32 width], u32 cell count,
///                each (row-major) i32 row,
///                column, row span, column span, background, u8 vertical
///                alignment, [version 3: the cell's own borders left, top,
///                right, bottom, each i32 width (0: none), u8 style, colour],
///                container
///     line       colour, i32 thickness
///     page break (nothing)
///     anchor     name
namespace vdocformat {

inline QByteArray magic() {
    return QByteArrayLiteral("VDOC");
}
/// The version written. Version 1 files (tables without column widths),
/// version 2 files (paragraphs without a direction or borders, cells without
/// borders of their own) and version 3 files (pictures without a web
/// address) are read as well.
constexpr quint16 kVersion = 4;
constexpr quint16 kOldestVersion = 1;
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
constexpr int kFreeGridCells = 10000;  // grid cells any table may have, spans or not
constexpr int kMaxMeasure = 100000;    // pixels of an indent, size or margin
constexpr int kMaxFontSize = 1638;
constexpr int kMaxListLevel = 8;
constexpr int kMaxBorder = 100;     // pixels of a table border or a line's thickness
constexpr int kMaxCellSpace = 1000; // pixels of cell padding or spacing
constexpr int kMinLineSpacing = 10; // percent
constexpr int kMaxLineSpacing = 1000;

/// Whether a table of that grid, with that many cells of its own (the rest
/// covered by their spans), can be kept: spans may make one stored cell
/// cover several, but a few stored bytes must not make a huge grid.
inline bool tableGridFits(qint64 rows, qint64 columns, qint64 cells) {
    return cells >= 1 && rows >= 1 && columns >= 1 && rows <= kMaxTableSide &&
           columns <= kMaxTableSide &&
           rows * columns <= qMax(cells * kMaxCellsPerRecord, qint64(kFreeGridCells));
}

/// Characters that are structure, not text, when they stand in a run: the
/// file refuses them, so text arriving from outside loses them.
inline bool isStrayCharacter(QChar ch) {
    const char16_t code = ch.unicode();
    return code == 0 || code == QChar::ObjectReplacementCharacter || code == 0xFDD0 ||
           code == 0xFDD1;
}

} // namespace vdocformat
