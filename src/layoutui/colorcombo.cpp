#include "layoutui/colorcombo.h"

#include "layout/colortext.h"
#include "ui/userdialogs.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// The custom slot holds a colour set or picked outside the common ones.
constexpr int customRole = Qt::UserRole + 1;

QIcon swatch(const QColor& color) {
    QPixmap pixmap(20, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.setBrush(color.isValid() ? color : QColor(Qt::white));
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    if (!color.isValid())
        painter.drawLine(1, pixmap.height() - 2, pixmap.width() - 2, 1);
    return QIcon(pixmap);
}

struct NamedColor {
    const char* name;
    QRgb rgb;
};

constexpr NamedColor commonColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

} // namespace

ColorCombo::ColorCombo(UserDialogs& dialogs, QWidget* parent)
    : QComboBox(parent)
    , m_dialogs(dialogs) {
    setFocusPolicy(Qt::ClickFocus);
    setMaxVisibleItems(20);
    addColorItem(QStringLiteral("Default color"), QColor());
    for (const NamedColor& named : commonColors)
        addColorItem(QString::fromLatin1(named.name), QColor(named.rgb));
    addItem(QStringLiteral("Custom..."));
    // The entries' names are only shown: the language files may translate them.
    setProperty("translatableItems", true);
    setCurrentIndex(0);
    // `activated` comes from the user only; setCurrentIndex does not raise it.
    connect(this, qOverload<int>(&QComboBox::activated), this, &ColorCombo::onActivated);
}

void ColorCombo::setColor(const QColor& color) {
    m_color = color.isValid() ? color.toRgb() : QColor();
    for (int i = 0; i < dialogIndex(); ++i) {
        if (itemData(i).value<QColor>() == m_color) {
            setCurrentIndex(i);
            return;
        }
    }
    const int custom = customIndex();
    if (custom >= 0) {
        setItemText(custom, ColorToHtml(m_color));
        setItemIcon(custom, swatch(m_color));
        setItemData(custom, m_color);
        setCurrentIndex(custom);
        return;
    }
    insertItem(dialogIndex(), swatch(m_color), ColorToHtml(m_color), m_color);
    setItemData(dialogIndex() - 1, true, customRole);
    setCurrentIndex(dialogIndex() - 1);
}

void ColorCombo::showPopup() {
    QAbstractItemView* list = view();
    // The list's entries are drawn as menu items, which do not say how wide
    // their text is: the longest text, the swatch and a menu item's margins.
    const QFontMetrics metrics(list->font());
    int longest = 0;
    for (int i = 0; i < count(); ++i)
        longest = qMax(longest, metrics.horizontalAdvance(itemText(i)));
    int width = longest + iconSize().width() + 3 * metrics.height() + 2 * list->frameWidth();
    if (count() > maxVisibleItems())
        width += list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(width);
    QComboBox::showPopup();
    // The box places its list from its own width before the list's new
    // minimum has reached the window around it: widen that window, on the
    // screen.
    QWidget* popup = list->window();
    if (popup == window() || list->width() >= width)
        return;
    QRect placed = popup->geometry();
    placed.setWidth(placed.width() + width - list->width());
    if (const QScreen* screen = popup->screen()) {
        const QRect available = screen->availableGeometry();
        if (placed.right() > available.right())
            placed.moveRight(available.right());
    }
    popup->setGeometry(placed);
}

void ColorCombo::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void ColorCombo::addColorItem(const QString& text, const QColor& color) {
    addItem(swatch(color), text, color);
}

int ColorCombo::customIndex() const {
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, customRole).toBool())
            return i;
    }
    return -1;
}

void ColorCombo::onActivated(int index) {
    if (index == dialogIndex()) {
        pickFromDialog();
        return;
    }
    m_color = itemData(index).value<QColor>();
    emit colorPicked(m_color);
}

void ColorCombo::pickFromDialog() {
    const QColor initial = m_color.isValid() ? m_color : QColor(Qt::white);
    const std::optional<QColor> chosen = m_dialogs.chooseColor(initial);
    // Cancelling leaves the colour shown before the dialog entry was chosen.
    setColor(chosen ? *chosen : m_color);
    if (chosen)
        emit colorPicked(m_color);
}
