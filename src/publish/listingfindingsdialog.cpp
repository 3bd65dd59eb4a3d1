#include "publish/listingfindingsdialog.h"

#include "platform/uilanguage.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using listingrules::Finding;
using listingrules::Severity;

namespace {

QString itemText(const Finding& finding) {
    QString text = finding.severity == Severity::Error
                       ? uilanguage::text("MESSAGES", "findingError", QStringLiteral("Error"))
                       : uilanguage::text("MESSAGES", "findingWarning", QStringLiteral("Warning"));
    if (finding.line > 0)
        text += uilanguage::text("MESSAGES", "findingLine", QStringLiteral(", line ")) +
                QString::number(finding.line);
    return text + QStringLiteral(": ") + finding.message + QStringLiteral("\n    ") + finding.where;
}

} // namespace

ListingFindingsDialog::ListingFindingsDialog(const QList<Finding>& findings, QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
    , m_back(new QPushButton(QStringLiteral("Back"), this)) {
    setObjectName(QStringLiteral("T_frmListingFindings"));
    setWindowTitle(QStringLiteral("Publish"));
    const bool errors = listingrules::hasErrors(findings);
    m_goOn = new QPushButton(errors ? QStringLiteral("Publish anyway") : QStringLiteral("Continue"),
                             this);
    m_back->setObjectName(QStringLiteral("btnBack"));
    m_goOn->setObjectName(errors ? QStringLiteral("btnPublishAnyway")
                                 : QStringLiteral("btnContinue"));

    auto* intro = new QLabel(
        errors ? QStringLiteral("Marketplaces would refuse this listing or show it badly. "
                                "Nothing has been copied yet.")
               : QStringLiteral("This listing may show badly on some screens."),
        this);
    intro->setWordWrap(true);

    m_list->setObjectName(QStringLiteral("lstFindings"));
    m_list->setWordWrap(true);
    m_list->setMinimumWidth(520);
    QList<Finding> ordered = findings;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Finding& a, const Finding& b) {
        return a.severity == Severity::Error && b.severity != Severity::Error;
    });
    for (const Finding& finding : std::as_const(ordered)) {
        auto* item = new QListWidgetItem(itemText(finding), m_list);
        item->setForeground(finding.severity == Severity::Error ? QColor(0xb0, 0x00, 0x20)
                                                                : QColor(0x8a, 0x5a, 0x00));
        item->setToolTip(finding.ruleId);
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_goOn, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_back, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // With an error, Enter must not publish a page the marketplace cuts.
    (errors ? m_back : m_goOn)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}
