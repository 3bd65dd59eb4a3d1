#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

/// An error a command does not handle itself: the command ends and the text
/// is shown in the application's standard error box.
class AppError : public std::exception {
public:
    explicit AppError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
