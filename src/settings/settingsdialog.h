#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QTabWidget;
struct ServerMirror;

/// The settings dialog `T_frmSettings`. So far it holds the server choices
/// and the check boxes that the main window mirrors from the settings file;
/// the rest of its pages and the Save button come with the settings work.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);

    /// Shows the mirrored settings: the product server (1..3) and the
    /// personal server (1..2) of those numbers become selected, a true
    /// `UseOwnServer` checks `cbxUseOwnServer`, and `cbxHideExportHelp`
    /// takes `HideExportHelp`. Numbers out of range select nothing, and a
    /// false `UseOwnServer` leaves its box unchanged.
    void mirrorServerSettings(const ServerMirror& mirror);

    /// The server set `radServerSet` carries. The group offers sets 0..3; any
    /// other index selects none of them but is still the one kept, so that
    /// saving writes back the value it was given.
    void setServerSetIndex(int index);
    int serverSetIndex() const { return m_serverSetIndex; }

private:
    QWidget* createServersPage();
    QWidget* createOthersPage();
    QGroupBox* createServerSetGroup(QWidget* parent);

    QTabWidget* m_pages = nullptr;
    QButtonGroup* m_defaultServers = nullptr;
    QButtonGroup* m_ownServers = nullptr;
    QButtonGroup* m_serverSets = nullptr;
    QCheckBox* m_useOwnServer = nullptr;
    QCheckBox* m_hideExportHelp = nullptr;
    int m_serverSetIndex = 0;
};
