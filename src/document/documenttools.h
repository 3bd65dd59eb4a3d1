#pragma once

#include <QList>
#include <QToolButton>
#include <QWidget>

class EdActionList;
class QAction;
class QComboBox;
class QPalette;
class QLabel;
class QMenu;

/// Makes the program's icon theme the one icons are looked up in: the tool
/// pictures come from the theme installed with the program's packages, in
/// its variant for the application palette (light pictures on a dark window).
void useToolIconTheme();

/// The name of the program's icon theme for a window of that palette.
QString toolIconTheme(const QPalette& palette);

/// A tool button with a drop-down arrow whose arrow does not open its menu
/// but asks its owner to drop something else below the button.
class DropDownToolButton : public QToolButton {
    Q_OBJECT
public:
    using QToolButton::QToolButton;

signals:
    void arrowClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool onArrow(const QPoint& point) const;
    bool m_arrowPressed = false;
};

/// The panel on the left of the Document page's editor: the font name and
/// size boxes and the tool buttons in their groups, each button bound to
/// its editor action with the action's picture and a hint. Buttons are
/// named `tob...` as the language files know them.
class DocumentTools : public QWidget {
    Q_OBJECT
public:
    DocumentTools(EdActionList& actions, QWidget* parent = nullptr);

    QComboBox* EdFontName = nullptr;
    QComboBox* cbxFontSize = nullptr;
    DropDownToolButton* tobInsertTable = nullptr;
    /// The empty menu whose arrow drops the table size picker instead.
    QMenu* pmFakeDropDown = nullptr;
    QLabel* lblLinksInfo = nullptr;

    /// Every tool button, in the order of the groups.
    const QList<QToolButton*>& toolButtons() const { return m_buttons; }
    /// The fixed font names the name box offers.
    static const QStringList& fontNames();
    /// Refills the size box's list with the sizes offered for that font,
    /// keeping the text typed in it.
    void fillFontSizes(const QString& fontName);

protected:
    /// A new palette (the desktop turned dark or light) brings the pictures
    /// of the matching icon theme.
    void changeEvent(QEvent* event) override;

private:
    /// Gives every button and its action its picture from the icon theme
    /// for the current palette at the panel's pixel ratio.
    void showPictures();

    QList<QToolButton*> m_buttons;
    /// The action of each button and the name of its picture, in the same order.
    QList<QAction*> m_actions;
    QStringList m_pictureNames;
    /// The icon theme and pixel ratio the shown pictures were drawn for.
    QString m_pictureTheme;
    qreal m_pictureRatio = 0;
};
