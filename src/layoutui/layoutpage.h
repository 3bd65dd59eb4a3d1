#pragma once

#include "layoutui/layoutcontrols.h"

#include <QWidget>

struct Layout;
struct LayoutFileContent;
class LayoutColumn;
class LayoutDocument;
class LayoutReactions;
class UserDialogs;
class QLineEdit;

/// The buttons above the preview. Their commands are wired by the window.
struct LayoutButtons {
    QPushButton* btnNewLayout = nullptr;
    QPushButton* btnOpenLayout = nullptr;
    QPushButton* btnSaveLayout = nullptr;
    QPushButton* btnSaveAs = nullptr;
    QPushButton* btnLayoutUndo = nullptr;
    QPushButton* btnLayoutRedo = nullptr;
    QPushButton* btnExport = nullptr;
    QPushButton* btnPreview = nullptr; // runs the preview command
    /// Checked: the preview shows the page at a phone's width.
    QPushButton* btnPhonePreview = nullptr;
};

/// The Layout page: the control column `pnlLeft` on the left; on the right
/// the button bar `pnlbuttons` above the place of the preview browser.
/// `UpdateComponents` shows the layout document's record in the controls and
/// `CaptureLayout` takes the controls back into it; a layout the document
/// loads, and the pictures' hints, show as the document announces them.
class LayoutPage : public QWidget {
    Q_OBJECT
public:
    LayoutPage(LayoutDocument& document, UserDialogs& dialogs, QWidget* parent = nullptr);

    /// Puts what a layout file holds into the document, which the controls
    /// then show, as opening it does. The caller sets `LayoutLoadNeeded`
    /// first when the changes this raises must not refresh the preview.
    void showLayoutFile(const LayoutFileContent& content);
    /// Shows the whole record in the controls. Meanwhile `LayoutControlsReady`
    /// is false, so the changes this raises do not capture half-set controls.
    void UpdateComponents();
    /// Normalises the number fields, sets which controls are enabled and
    /// copies the controls into the record. Throws `AppError` at a number
    /// field that does not hold a number; then nothing is captured.
    void CaptureLayout();

    /// The preview command that every layout change ends in: nothing while
    /// the controls are being filled; otherwise the controls are captured,
    /// the load is over, and `previewRequested` asks for the page. Throws
    /// `AppError` when a number field holds no number.
    void _btnPreviewClick();
    /// Runs the preview command; an error goes to the standard error box.
    void refreshPreview();
    /// The phone toggle starts as the settings file has it and is stored
    /// there whenever the seller toggles it.
    void rememberPhonePreview(const QString& settingsFile, UserDialogs& dialogs);

signals:
    /// The record holds the controls' layout: show its page.
    void previewRequested();
    /// `btnPhonePreview` was toggled: show the preview at a phone's width, or
    /// at the whole width of its place.
    void phonePreviewToggled(bool phone);

public:
    const LayoutControls& controls() const;
    const LayoutButtons& buttons() const { return m_buttons; }
    LayoutColumn* column() const { return m_column; }
    QWidget* buttonBar() const { return m_buttonBar; }
    /// Empty widget with a margin-free layout, where the preview browser goes.
    QWidget* previewHost() const { return m_previewHost; }

private:
    QWidget* buildRightPart();
    QWidget* buildButtonBar(QWidget* parent);
    /// A dark surround marks where the phone's screen ends.
    void showPreviewSurround(bool phone);
    void documentChanged(int what);
    /// Shows the layout the document has just put in place.
    void showLoadedLayout();
    void showPictureHints();

    void showPageArea();
    void showOuterBorder();
    void showFrame();
    void showInnerBorderAndText();
    void showMargins();
    void showTextFlags();

    Layout layoutFromControls() const;
    void showNumbers(const Layout& layout);

    LayoutDocument& m_document;
    LayoutColumn* m_column = nullptr;
    LayoutReactions* m_reactions = nullptr;
    LayoutButtons m_buttons;
    QWidget* m_buttonBar = nullptr;
    QWidget* m_previewHost = nullptr;
};
