#pragma once

class QPainter;
class QRectF;
class QTextDocument;

/// What the editor draws over the text layout's own drawing, in the colours
/// and sizes the export writes: the frame of a paragraph with a border and
/// horizontal lines. The editor and the printed pages draw them alike.
namespace blockdecorations {

/// Paints them in document coordinates for the paragraphs that meet `clip`.
void paint(QPainter& painter, const QTextDocument& document, const QRectF& clip);

} // namespace blockdecorations
