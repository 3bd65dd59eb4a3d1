#pragma once

#include "ui/userdialogs.h"

#include <QDialog>

class QLabel;

/// The prompt that asks whether to save the changed layout, answering Yes,
/// No or Cancel. Closing it any other way answers Cancel.
class SaveExitDialog : public QDialog {
    Q_OBJECT
public:
    /// Result codes of the three buttons.
    enum Result { CancelResult = QDialog::Rejected, YesResult = QDialog::Accepted, NoResult };

    explicit SaveExitDialog(QWidget* parent = nullptr);

    /// Names the layout in question: its file name followed by " ?".
    void setChangedFile(const QString& fileName);

    /// The answer a result code of this dialog stands for.
    static UserDialogs::Answer answerOf(int result);

private:
    QLabel* m_changedFile = nullptr;
};
