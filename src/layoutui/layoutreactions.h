#pragma once

#include "layoutui/layoutcontrols.h"

#include <QObject>
#include <QString>
#include <functional>

struct Layout;
class LayoutDocument;
class UserDialogs;
class QColor;
class QLineEdit;

/// The reactions of the layout controls to the user: which field of the
/// layout document a control writes, when the layout counts as modified, the enabling done at
/// once, the limits on leaving a number field, the linking of the margins,
/// and when the preview is refreshed.
///
/// Refreshing runs the page's preview command, which may throw `AppError`:
/// a text change answers it with a beep, every other reaction shows it in
/// the standard error box.
class LayoutReactions : public QObject {
    Q_OBJECT
public:
    LayoutReactions(const LayoutControls& controls, LayoutDocument& document, UserDialogs& dialogs,
                    QObject* parent = nullptr);

    void setPreviewCommand(std::function<void()> command) { m_refresh = std::move(command); }
    /// While suspended, reactions skip the preview command (the controls are
    /// being captured by it already).
    void setRefreshSuspended(bool suspended) { m_refreshSuspended = suspended; }
    bool refreshSuspended() const { return m_refreshSuspended; }

    /// Runs the preview command; an error goes to the standard error box.
    void refreshPreview();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEdits();
    void connectMargins();
    void connectCheckBoxes();
    void connectWidthRadios();
    void connectColors();
    void connectModifiedMarks();

    void runPreviewCommand();
    void refreshUnlessLoading();
    void refreshBeepingOnError();
    void numberChanged();
    void marginChanged(QLineEdit* changed);
    void zeroWhenEmpty(QLineEdit* edit);
    void edtAdWExit();
    void setWidthType(bool fullWidth);
    void areaColorPicked(QString Layout::*field, QCheckBox* transparent, const QColor& color);
    void borderColorPicked(QString Layout::*field, const QColor& color);
    void flagBoxClicked(bool Layout::*field, bool checked, QCheckBox* repeatX = nullptr,
                        QCheckBox* repeatY = nullptr);
    void markModified();

    LayoutControls m_controls;
    LayoutDocument& m_document;
    UserDialogs& m_dialogs;
    std::function<void()> m_refresh;
    bool m_refreshSuspended = false;
};
