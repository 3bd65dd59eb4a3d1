#pragma once

#include <QDialog>

class QLabel;
class UserDialogs;

/// The About box `T_frmAbout`: product logo, the version compiled into the
/// program and a link to the product web site.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(UserDialogs& dialogs, QWidget* parent = nullptr);

    /// "Version: major.minor.release - Build n" of this program.
    static QString versionText();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildWebsiteRow(class QVBoxLayout* column);

    UserDialogs& m_dialogs;
    QLabel* m_version = nullptr;
    QLabel* m_website = nullptr;
    QLabel* m_link = nullptr;
};
