#include "publish/publishpage.h"

#include "publish/exportprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

PublishPage::PublishPage(QWidget* parent)
    : QWidget(parent)
    , m_browserPanel(new QWidget(this))
    , m_progress(new ExportProgress(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_browserPanel->setObjectName(QStringLiteral("pnlBroExportBack"));
    (new QVBoxLayout(m_browserPanel))->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_browserPanel, 1);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 2, 6, 2);
    auto* help = new QLabel(
        QStringLiteral("<a href=\"#\" style=\"color:blue\">Show Export Help Window</a>"), this);
    help->setObjectName(QStringLiteral("lblShowHideHelp"));
    help->setCursor(Qt::PointingHandCursor);
    connect(help, &QLabel::linkActivated, this, &PublishPage::helpRequested);
    row->addWidget(help);
    row->addStretch();
    row->addWidget(m_progress);
    column->addLayout(row);
}
