#pragma once

#include <QApplication>

class UserDialogs;

/// The application object. Its one addition to QApplication is a last
/// safety net: an error that escapes an event handler is shown in the
/// standard error box and the program keeps running.
class VantrelApplication : public QApplication {
    Q_OBJECT
public:
    VantrelApplication(int& argc, char** argv);

    /// The application title: the first part of every window caption.
    static QString title() { return QStringLiteral("Vantrel"); }

    void setDialogs(UserDialogs* dialogs) { m_dialogs = dialogs; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    UserDialogs* m_dialogs = nullptr;
};
