#pragma once

#include "listing/listingrules.h"

#include <QDialog>
#include <QHash>

class QListWidget;
class QPushButton;

/// `T_frmListingFindings`: what the listing rules found in the page about to
/// be published, errors first. With an error the seller goes back ("Back",
/// rejected) or publishes anyway (accepted); with warnings only, "Continue"
/// (accepted) or "Back". In French for the language code "fr", as the
/// findings' messages are. Each finding says where the seller finds it: the
/// words of their text it concerns, or the layout control whose picture it
/// is, and what to do about it; the page's line is left to the tooltip.
class ListingFindingsDialog : public QDialog {
    Q_OBJECT
public:
    /// `layoutPictures`: the address of each picture the layout shows, with
    /// the place on the Layout page it is chosen at ("Frame > Frame image").
    explicit ListingFindingsDialog(const QList<listingrules::Finding>& findings,
                                   const QString& language = QString(),
                                   const QHash<QString, QString>& layoutPictures = {},
                                   QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* backButton() const { return m_back; }
    /// "Publish anyway" with errors, "Continue" with warnings only.
    QPushButton* goOnButton() const { return m_goOn; }

private:
    QListWidget* m_list;
    QPushButton* m_back;
    QPushButton* m_goOn;
};
