#include "ui/userdialogs.h"

#include <QTest>

class TestFileFilters : public QObject {
    Q_OBJECT

private slots:
    void pipeFilterBecomesNameFilters_data();
    void pipeFilterBecomesNameFilters();
};

void TestFileFilters::pipeFilterBecomesNameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("description without patterns")
        << "Layouts|*.rbs" << QStringList{"Layouts (*.rbs)"};
    QTest::newRow("description naming its patterns shows them once")
        << "Vantrel Layout Files (*.rbs)|*.rbs" << QStringList{"Vantrel Layout Files (*.rbs)"};
    QTest::newRow("several patterns, several filters")
        << "Pictures|*.jpg; *.png|All files (*.*)|*.*"
        << QStringList{"Pictures (*.jpg *.png)", "All files (*.*)"};
    QTest::newRow("brackets that are not the patterns")
        << "Pictures (web)|*.jpg" << QStringList{"Pictures (web) (*.jpg)"};
    QTest::newRow("description without its pattern") << "Documents|" << QStringList{"Documents ()"};
}

void TestFileFilters::pipeFilterBecomesNameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(nameFiltersFromPipeFilter(filter), expected);
}

QTEST_GUILESS_MAIN(TestFileFilters)
#include "tst_filefilters.moc"
