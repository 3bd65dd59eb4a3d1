#include "document/infowindowparts.h"

#include "ui/themecolors.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

namespace infowindow {

void useDialogFont(QWidget& window) {
    QFont font = window.font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    window.setFont(font);
}

QLabel* addText(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QLabel* addLinkLabel(QWidget* parent, const char* name, const QString& text) {
    // Rich text draws the anchor blue and underlined under a hand cursor;
    // activating it is the label's click.
    auto* label = new QLabel(
        QStringLiteral("<a href=\"open\" style=\"color: %1\">")
                .arg(themecolors::styleColor(QStringLiteral("blue"), QApplication::palette())) +
            text.toHtmlEscaped() + QStringLiteral("</a>"),
        parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}

QCheckBox* addHideBox(QWidget* parent, const char* name) {
    auto* box = new QCheckBox(
        // Two lines, so that the note fits the narrow windows.
        QStringLiteral("Don't show this window anymore\n(Menu 'Options | Dialogs' to reset)"),
        parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace infowindow
