#pragma once

#include <QTabWidget>

/// The main window's page control `pgcMain`: wide tabs that light up under
/// the mouse, each `tabSize` or larger where its caption needs it.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    static constexpr QSize tabSize{320, 30};

    /// What the page on show wishes and needs, with the tabs above it. The
    /// window has a size and a least size of its own; asking every page
    /// instead (a tab widget's own way) worked out the whole Layout page
    /// before the window could first paint the Document page.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    /// `pageSize` with the tabs and the frame around the page.
    QSize withTabs(QSize pageSize) const;
};
