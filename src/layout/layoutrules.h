#pragma once

#include "layout/layout.h"
#include "platform/result.h"

struct LayoutFileContent;

/// The rules that tie a layout's values together, on the record alone.

/// The layout as the page shows it: the page width "700" when empty, every
/// number in plain decimal form ("0075" is "75"), an outer border thinner
/// than 1 and an empty or zero inner border written "0". Throws `AppError`
/// naming the first number field that does not hold a number (page width,
/// outer border, frame, inner border, left, top, right margin); nothing is
/// changed then.
Layout normalised(Layout layout);

/// A number field's text that `normalised` takes: empty, or a decimal integer.
bool isLayoutNumber(const QString& text);

/// The layout as a load puts it into the page: every number field that
/// `normalised` would refuse takes its key's default, as any value that
/// cannot be read does, so that a loaded layout can always be captured.
Layout withCapturableNumbers(Layout layout);

/// A layout file as a load puts it into the Layout page, and as the tools
/// read it: `layoutfile::read` with `withCapturableNumbers` applied. Fails
/// when `layoutfile::read` does.
Result<LayoutFileContent> loadedLayoutFile(const QString& fileName);

/// The layout the Layout page shows for a layout file: a width type other
/// than "1" is a width in pixels ("0"), and with "Equal Margins" on every
/// margin takes the right one, which the page sets last.
Layout shownLayout(const LayoutFileContent& content);

/// Which layout controls can be used for a normalised layout.
struct LayoutEnabling {
    bool outerBorder = false; // its colour and style
    bool frame = false;       // its picture button, colour and two boxes
    bool frameRepeat = false; // the frame picture's repeat boxes
    bool innerBorder = false; // its colour and style
    bool textRepeat = false;  // the text picture's repeat boxes
};

/// A border or frame of no width has nothing to colour or style, and a
/// hidden picture nothing to repeat.
LayoutEnabling enabledControls(const Layout& layout);
