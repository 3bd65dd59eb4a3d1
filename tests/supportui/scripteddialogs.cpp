#include "supportui/scripteddialogs.h"

#include <QDialog>

void ScriptedDialogs::showMessage(const QString& text, Icon, const QString& title) {
    lastTitle = title;
    shown.append(QStringLiteral("message: ") + text);
}

void ScriptedDialogs::showError(const QString& text) {
    shown.append(QStringLiteral("error: ") + text);
}

bool ScriptedDialogs::askYesNo(const QString& text, const QString& title, Icon) {
    lastTitle = title;
    shown.append(QStringLiteral("yesno: ") + text);
    return !answers.isEmpty() && answers.dequeue() == Answer::Yes;
}

UserDialogs::Answer ScriptedDialogs::askYesNoCancel(const QString& text, const QString& title,
                                                    Icon) {
    lastTitle = title;
    shown.append(QStringLiteral("yesnocancel: ") + text);
    return answers.isEmpty() ? Answer::Cancel : answers.dequeue();
}

QString ScriptedDialogs::openFileName(FileDialogOptions& options) {
    shown.append(QStringLiteral("open: ") + options.title);
    lastFileDialog = options;
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedDialogs::saveFileName(FileDialogOptions& options) {
    shown.append(QStringLiteral("save: ") + options.title);
    lastFileDialog = options;
    return withDefaultExtension(fileNames.isEmpty() ? QString() : fileNames.dequeue(),
                                options.defaultExtension);
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor& initial) {
    shown.append(QStringLiteral("color: ") + initial.name());
    return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

void ScriptedDialogs::beep() {
    shown.append(QStringLiteral("beep: "));
}

bool ScriptedDialogs::openUrl(const QUrl& url) {
    shown.append(QStringLiteral("url: ") + url.toString());
    return urlResults.isEmpty() || urlResults.dequeue();
}

int ScriptedDialogs::runModal(QDialog& dialog) {
    shown.append(QStringLiteral("modal: ") + dialog.objectName());
    if (modalActions.isEmpty())
        return QDialog::Rejected;
    return modalActions.dequeue()(dialog);
}

QStringList ScriptedDialogs::shownOf(const QString& kind) const {
    QStringList texts;
    const QString prefix = kind + QStringLiteral(": ");
    for (const QString& entry : shown) {
        if (entry.startsWith(prefix))
            texts.append(entry.mid(prefix.size()));
    }
    return texts;
}
