#include "publish/listingfindingsdialog.h"
#include "ui/themecolors.h"

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

/// The dialog's own words, in the findings' language.
struct Words {
    const char* error;
    const char* warning;
    const char* line;
    const char* colon;
    const char* refused;
    const char* shownBadly;
    const char* back;
    const char* publishAnyway;
    const char* goOn;
    const char* title;
    const char* inYourText;
    const char* inTheLayout;
};

const Words english{"Error",
                    "Warning",
                    ", line ",
                    ": ",
                    "Marketplaces would refuse this listing or show it badly. Nothing has been "
                    "copied yet.",
                    "This listing may show badly on some screens.",
                    "Back",
                    "Publish anyway",
                    "Continue",
                    "Publish",
                    "In your text: ",
                    "In the layout: "};

const Words french{"Erreur",
                   "Avertissement",
                   ", ligne ",
                   " : ",
                   "Les sites d'ench\u00e8res refuseraient cette annonce ou l'afficheraient mal. "
                   "Rien n'a encore \u00e9t\u00e9 copi\u00e9.",
                   "Cette annonce peut s'afficher mal sur certains \u00e9crans.",
                   "Retour",
                   "Publier quand m\u00eame",
                   "Continuer",
                   "Publier",
                   "Dans votre texte : ",
                   "Dans la pr\u00e9sentation : "};

QString text(const char* words) {
    return QString::fromUtf8(words);
}

/// Where the seller meets it, then what to do: the page's own line and code
/// mean nothing to someone who wrote the text in the editor.
QString itemText(const Finding& finding, const Words& words,
                 const QHash<QString, QString>& layoutPictures) {
    const QString indent = QStringLiteral("\n    ");
    QString item = text(finding.severity == Severity::Error ? words.error : words.warning) +
                   text(words.colon) + finding.message + indent;
    const QString layoutPlace = layoutPictures.value(finding.where);
    if (!layoutPlace.isEmpty())
        item += text(words.inTheLayout) + layoutPlace;
    else if (!finding.words.isEmpty())
        item += text(words.inYourText) + QStringLiteral("\u00ab") + finding.words +
                QStringLiteral("\u00bb");
    else
        item += finding.where;
    if (!finding.advice.isEmpty())
        item += indent + finding.advice;
    return item;
}

QString findingToolTip(const Finding& finding, const Words& words) {
    QString tip = finding.ruleId;
    if (finding.line > 0)
        tip += text(words.line) + QString::number(finding.line);
    return tip + text(words.colon) + finding.where;
}

} // namespace

ListingFindingsDialog::ListingFindingsDialog(const QList<Finding>& findings,
                                             const QString& language,
                                             const QHash<QString, QString>& layoutPictures,
                                             QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget(this)) {
    const Words& words = language == QLatin1String("fr") ? french : english;
    setObjectName(QStringLiteral("T_frmListingFindings"));
    setWindowTitle(text(words.title));
    const bool errors = listingrules::hasErrors(findings);
    m_back = new QPushButton(text(words.back), this);
    m_goOn = new QPushButton(text(errors ? words.publishAnyway : words.goOn), this);
    m_back->setObjectName(QStringLiteral("btnBack"));
    m_goOn->setObjectName(errors ? QStringLiteral("btnPublishAnyway")
                                 : QStringLiteral("btnContinue"));

    auto* intro = new QLabel(text(errors ? words.refused : words.shownBadly), this);
    intro->setWordWrap(true);

    m_list->setObjectName(QStringLiteral("lstFindings"));
    m_list->setWordWrap(true);
    m_list->setMinimumWidth(520);
    QList<Finding> ordered = findings;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Finding& a, const Finding& b) {
        return a.severity == Severity::Error && b.severity != Severity::Error;
    });
    for (const Finding& finding : std::as_const(ordered)) {
        auto* item = new QListWidgetItem(itemText(finding, words, layoutPictures), m_list);
        item->setForeground(themecolors::onWindow(finding.severity == Severity::Error
                                                      ? QColor(0xb0, 0x00, 0x20)
                                                      : QColor(0x8a, 0x5a, 0x00),
                                                  m_list->palette()));
        item->setToolTip(findingToolTip(finding, words));
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
