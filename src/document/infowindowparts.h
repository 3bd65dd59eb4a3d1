#pragma once

#include <QString>

class QCheckBox;
class QLabel;
class QWidget;

/// Pieces the two information windows of the Document page share.
namespace infowindow {

/// The windows' 13-pixel dialog font.
void useDialogFont(QWidget& window);
/// A label that wraps its text.
QLabel* addText(QWidget* parent, const char* name, const QString& text);
/// A blue, underlined label with a hand cursor that reads like a link; its
/// `linkActivated` signal is its click.
QLabel* addLinkLabel(QWidget* parent, const char* name, const QString& text);
/// The "don't show this window anymore" box.
QCheckBox* addHideBox(QWidget* parent, const char* name);

} // namespace infowindow
