#pragma once

#include "layoutui/layoutcontrols.h"

#include <QLinearGradient>
#include <QWidget>

class UserDialogs;
class QGridLayout;

/// The left column of the Layout page, `pnlLeft`: the five group boxes with
/// every layout control in its design-time state, on a vertical gradient of
/// the palette's window colour.
/// While the group boxes are hidden the column shows "One moment please...".
class LayoutColumn : public QWidget {
    Q_OBJECT
public:
    LayoutColumn(UserDialogs& dialogs, QWidget* parent = nullptr);

    const LayoutControls& controls() const { return m_controls; }
    /// Shows or hides the five group boxes together.
    void setGroupsVisible(bool visible);
    /// The column's background for a palette, `height` pixels high.
    static QLinearGradient columnGradient(const QPalette& palette, int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QGroupBox* makeGroup(const char* name, const QString& title, QGridLayout*& grid);
    void buildPageGroup();
    /// Object names of the controls of a border's group box.
    struct BorderNames {
        const char* group;
        const char* title;
        const char* widthLabel;
        const char* width;
        const char* upDown;
        const char* typeLabel;
        const char* type;
        const char* color;
        const char* info;
    };
    QGroupBox* buildBorderGroup(const BorderNames& names, NumberEdit*& width, UpDown*& upDown,
                                QComboBox*& type, ColorCombo*& color);
    void buildFrameGroup();
    void buildTextAreaGroup();
    bool groupsHidden() const;

    UserDialogs& m_dialogs;
    LayoutControls m_controls;
};
