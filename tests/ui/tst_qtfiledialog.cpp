#include "supportui/offscreenscreen.h"
#include "ui/qtuserdialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// Qt's own file dialog, as the program sets it up where the desktop has no
// dialog of its own (the offscreen platform has none), on a netbook's screen.
// The dialog is shown without waiting on it.

class TestQtFileDialog : public QObject {
    Q_OBJECT

public:
    static void initMain() { useOffscreenScreen(QSize(1024, 600)); }

private slots:
    void ownDialogShowsItsColumnsAndFilter_data();
    void ownDialogShowsItsColumnsAndFilter();
};

void TestQtFileDialog::ownDialogShowsItsColumnsAndFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("picturePreview");

    QTest::newRow("nominal: a picture, with its preview")
        << "Images (*.jpg, *.gif, *.png)|*.jpg;*.jpeg;*.gif;*.png" << false << true;
    QTest::newRow("nominal: a layout to save") << "Layout files (*.rbs)|*.rbs" << true << false;
}

void TestQtFileDialog::ownDialogShowsItsColumnsAndFilter() {
    QFETCH(QString, filter);
    QFETCH(bool, save);
    QFETCH(bool, picturePreview);
    QTemporaryDir folder;
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Open picture");
    options.filter = filter;
    options.initialFolder = folder.path();
    options.picturePreview = picturePreview;

    QFileDialog dialog;
    setUpFileDialog(dialog, options, save);
    // The desktop's own dialog is not refused: Qt's is used for want of one.
    QVERIFY(!dialog.testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("picturePreview")) != nullptr,
             picturePreview);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QRect available = dialog.screen()->availableGeometry();
    QVERIFY(available.contains(dialog.frameGeometry()));
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    const int filterText = types->fontMetrics().horizontalAdvance(types->currentText());
    QVERIFY2(
        types->width() > filterText,
        qPrintable(QStringLiteral("filter %1 of %2 pixels").arg(types->width()).arg(filterText)));
    dialog.setViewMode(QFileDialog::Detail);
    auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    QVERIFY(files);
    QTRY_VERIFY(files->isVisible());
    // The name, size, type and date columns side by side, without scrolling.
    QVERIFY2(files->header()->length() <= files->viewport()->width(),
             qPrintable(QStringLiteral("columns %1 in %2 pixels")
                            .arg(files->header()->length())
                            .arg(files->viewport()->width())));
}

QTEST_MAIN(TestQtFileDialog)
#include "tst_qtfiledialog.moc"
