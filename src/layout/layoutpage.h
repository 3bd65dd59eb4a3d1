#pragma once

#include "layout/layoutcontrols.h"

#include <QWidget>
#include <functional>

struct AppState;
struct Layout;
class LayoutColumn;
class LayoutReactions;
class UserDialogs;
class QLineEdit;

/// The buttons above the preview. Their commands are wired by the window.
struct LayoutButtons {
    QPushButton* btnNewLayout = nullptr;
    QPushButton* btnOpenLayout = nullptr;
    QPushButton* btnSaveLayout = nullptr;
    QPushButton* btnSaveAs = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnPreview = nullptr; // runs the preview command
};

/// The Layout page: the control column `pnlLeft` on the left; on the right
/// the button bar `pnlbuttons` above the place of the preview browser.
/// `UpdateComponents` shows the `Layout` record in the controls and
/// `CaptureLayout` takes the controls back into it.
class LayoutPage : public QWidget {
    Q_OBJECT
public:
    LayoutPage(AppState& state, Layout& layout, UserDialogs& dialogs, QWidget* parent = nullptr);

    /// Shows the whole record in the controls. Meanwhile `LayoutControlsReady`
    /// is false, so the changes this raises do not capture half-set controls.
    void UpdateComponents();
    /// Normalises the number fields, sets which controls are enabled and
    /// copies the controls into the record. Throws `AppError` at a number
    /// field that does not hold a number; the fields before it are captured.
    void CaptureLayout();

    /// The preview command the reactions run to refresh the preview. It must
    /// do nothing while `LayoutControlsReady` is false.
    void setPreviewRefresh(std::function<void()> refresh);
    /// Runs the preview command; an error goes to the standard error box.
    void refreshPreview();

    const LayoutControls& controls() const;
    const LayoutButtons& buttons() const { return m_buttons; }
    LayoutColumn* column() const { return m_column; }
    QWidget* buttonBar() const { return m_buttonBar; }
    /// Empty widget with a margin-free layout, where the preview browser goes.
    QWidget* previewHost() const { return m_previewHost; }

private:
    QWidget* buildRightPart();
    QWidget* buildButtonBar(QWidget* parent);

    void showPageArea();
    void showOuterBorder();
    void showFrame();
    void showInnerBorderAndText();
    void showMargins();
    void showTextFlags();

    void captureFlags();
    void captureOuterBorder();
    void captureFrame();
    void captureInnerBorder();
    void captureFields();

    AppState& m_state;
    Layout& m_layout;
    LayoutColumn* m_column = nullptr;
    LayoutReactions* m_reactions = nullptr;
    LayoutButtons m_buttons;
    QWidget* m_buttonBar = nullptr;
    QWidget* m_previewHost = nullptr;
};
