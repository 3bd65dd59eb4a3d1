#include "layoutui/saveexitdialog.h"

#include "ui/windowplacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QDialog* dialog, QHBoxLayout* row, const char* name, const QString& caption,
                       int result) {
    auto* button = new QPushButton(caption, dialog);
    button->setObjectName(QLatin1String(name));
    QObject::connect(button, &QPushButton::clicked, dialog,
                     [dialog, result] { dialog->done(result); });
    row->addWidget(button);
    return button;
}

} // namespace

SaveExitDialog::SaveExitDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmSaveExit"));
    setWindowTitle(QStringLiteral("Save Changes"));
    setFixedSize(327, 132);

    auto* column = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("The Presentation "), this);
    prompt->setObjectName(QStringLiteral("lblSaveExit"));
    column->addWidget(prompt);
    m_changedFile = new QLabel(this);
    m_changedFile->setObjectName(QStringLiteral("lblChangedFile"));
    m_changedFile->setWordWrap(true);
    m_changedFile->setMinimumHeight(2 * fontMetrics().lineSpacing());
    column->addWidget(m_changedFile, 1);

    auto* row = new QHBoxLayout;
    row->addStretch();
    addButton(this, row, "btnSaveChanges", QStringLiteral("&Yes"), YesResult)->setDefault(true);
    addButton(this, row, "btnSaveNot", QStringLiteral("&No"), NoResult);
    addButton(this, row, "btnCancel", QStringLiteral("Cancel"), CancelResult);
    column->addLayout(row);
    centreOnScreen(*this);
}

void SaveExitDialog::setChangedFile(const QString& fileName) {
    m_changedFile->setText(fileName + QStringLiteral(" ?"));
}

UserDialogs::Answer SaveExitDialog::answerOf(int result) {
    switch (result) {
    case YesResult:
        return UserDialogs::Answer::Yes;
    case NoResult:
        return UserDialogs::Answer::No;
    default:
        return UserDialogs::Answer::Cancel;
    }
}
