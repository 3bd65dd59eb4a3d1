#pragma once

#include <QAction>
#include <functional>

class UserDialogs;

/// One action of the editor's action list. Its `OnExecute` handler, when
/// set, runs in place of the action's own behaviour, which stays available
/// through `executeOwn` (a handler may run it and add to it). An error the
/// behaviour does not handle is shown in the standard error box.
class TedAction : public QAction {
    Q_OBJECT
public:
    TedAction(const QString& name, const QString& caption, UserDialogs& dialogs, QObject* parent,
              std::function<void()> own = {});

    std::function<void()> OnExecute;
    void executeOwn();
    void setOwn(std::function<void()> own) { m_own = std::move(own); }

private:
    void execute();

    UserDialogs& m_dialogs;
    std::function<void()> m_own;
};
