#include "platform/apperror.h"

#include "platform/userdialogs.h"

AppError::AppError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

bool runCommand(UserDialogs& dialogs, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const AppError& error) {
        dialogs.showError(error.message());
    } catch (const std::exception& error) {
        dialogs.showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
