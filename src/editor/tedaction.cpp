#include "editor/tedaction.h"

#include "ui/userdialogs.h"

TedAction::TedAction(const QString& name, const QString& caption, UserDialogs& dialogs,
                     QObject* parent, std::function<void()> own)
    : QAction(caption, parent)
    , m_dialogs(dialogs)
    , m_own(std::move(own)) {
    setObjectName(name);
    connect(this, &QAction::triggered, this, &TedAction::execute);
}

void TedAction::executeOwn() {
    if (m_own)
        m_own();
}

void TedAction::execute() {
    runCommand(m_dialogs, [this] {
        if (OnExecute)
            OnExecute();
        else
            executeOwn();
    });
}
