#include "app/application.h"

#include "platform/apperror.h"
#include "platform/userdialogs.h"

VantrelApplication::VantrelApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool VantrelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& error) {
        if (m_dialogs)
            m_dialogs->showError(error.message());
    } catch (const std::exception& error) {
        if (m_dialogs)
            m_dialogs->showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
