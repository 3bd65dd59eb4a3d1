#pragma once

#include "listing/listingrules.h"

#include <QDialog>

class QListWidget;
class QPushButton;

/// `T_frmListingFindings`: what the listing rules found in the page about to
/// be published, errors first. With an error the seller goes back ("Back",
/// rejected) or publishes anyway (accepted); with warnings only, "Continue"
/// (accepted) or "Back". In French for the language code "fr", as the
/// findings' messages are.
class ListingFindingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListingFindingsDialog(const QList<listingrules::Finding>& findings,
                                   const QString& language = QString(), QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* backButton() const { return m_back; }
    /// "Publish anyway" with errors, "Continue" with warnings only.
    QPushButton* goOnButton() const { return m_goOn; }

private:
    QListWidget* m_list;
    QPushButton* m_back;
    QPushButton* m_goOn;
};
