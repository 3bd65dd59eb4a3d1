#include "pagegen/bbmdatamerge.h"
#include "platform/windows1252.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A device whose reads or writes fail once `limit` bytes have gone through.
class FailingBuffer : public QBuffer {
public:
    FailingBuffer(qint64 readLimit, qint64 writeLimit)
        : m_readLimit(readLimit)
        , m_writeLimit(writeLimit) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (pos() >= m_readLimit)
            return fail();
        return QBuffer::readData(data, std::min(maxSize, m_readLimit - pos()));
    }
    qint64 writeData(const char* data, qint64 maxSize) override {
        if (pos() >= m_writeLimit)
            return fail();
        return QBuffer::writeData(data, std::min(maxSize, m_writeLimit - pos()));
    }

private:
    qint64 fail() {
        setErrorString(QStringLiteral("device failure"));
        return -1;
    }

    qint64 m_readLimit;
    qint64 m_writeLimit;
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
}

QByteArray bytes(const QString& text) {
    return windows1252::encode(text);
}

QString longDelimiter() {
    return QLatin1Char('<') + QString(1498, QLatin1Char('-')) + QLatin1Char('>');
}

} // namespace

class TestDataMerge : public QObject {
    Q_OBJECT

private slots:
    void init();
    void merge_data();
    void merge();
    void findInStream_data();
    void findInStream();
    void progress_data();
    void progress();
    void varsKeepFirstCaseAndOrder();
    void varsKeptAcrossMerges();
    void changedVarsCountAtOnce();
    void lookupHandlerGetsUnknownNames();
    void streamsStayTheCallers();
    void streamSourceMergedFromItsPosition();
    void fileToFile_data();
    void fileToFile();
    void fileMergedIntoItself();
    void missingSourceFile();
    void failedMergeKeepsDestFile();
    void deviceFailuresPropagate_data();
    void deviceFailuresPropagate();

private:
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
    std::unique_ptr<TBBMDataMerge> m_merge;
};

void TestDataMerge::init() {
    m_merge = std::make_unique<TBBMDataMerge>();
    m_merge->DelimStart = QStringLiteral("£");
    m_merge->DelimEnd = QStringLiteral("£");
    TBBMDataMergeVars& vars = m_merge->Vars();
    vars.SetVar(QStringLiteral("adbc"), QStringLiteral("transparent"));
    vars.SetVar(QStringLiteral("a"), QStringLiteral("A"));
    vars.SetVar(QStringLiteral("b"), QStringLiteral("B"));
    vars.SetVar(QStringLiteral("pound"), QStringLiteral("£5"));
    vars.SetVar(QStringLiteral("été"), QStringLiteral("summer"));
    vars.SetVar(QString(1023, QLatin1Char('n')), QStringLiteral("N"));
}

void TestDataMerge::merge_data() {
    QTest::addColumn<QString>("delimStart");
    QTest::addColumn<QString>("delimEnd");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");

    const QString pound = QStringLiteral("£");
    const QString dots(1023, QLatin1Char('.'));
    const QString longName(1023, QLatin1Char('n'));
    const QString delim = longDelimiter();

    QTest::newRow("nominal") << pound << pound << "<td bgcolor=£adbc£>"
                             << "<td bgcolor=transparent>";
    QTest::newRow("empty start delimiter: source unchanged") << QString() << pound << "x£a£y"
                                                             << "x£a£y";
    QTest::newRow("no delimiters") << pound << pound << "plain text"
                                   << "plain text";
    QTest::newRow("variable first, two adjacent") << pound << pound << "£a££b£"
                                                  << "AB";
    QTest::newRow("empty name") << pound << pound << "x££y"
                                << "xy";
    QTest::newRow("unknown name") << pound << pound << "x£nope£y"
                                  << "xy";
    QTest::newRow("unpaired delimiter in the middle") << pound << pound << "x£y"
                                                      << "xy";
    QTest::newRow("lone delimiter at the end") << pound << pound << "x£a£y£"
                                               << "xAy";
    QTest::newRow("unmatched start, rest copied") << "{{"
                                                  << "}}"
                                                  << "{{a}} {{b c £a£"
                                                  << "A b c £a£";
    QTest::newRow("names ignore letter case") << pound << pound << "£ADBC£ £ÉTÉ£"
                                              << "transparent summer";
    QTest::newRow("name longer than every variable's")
        << pound << pound << "x£" + QString(5000, QLatin1Char('a')) + "£y"
        << "xy";
    QTest::newRow("names are not trimmed") << pound << pound << "£ a££a\r\n£"
                                           << "";
    QTest::newRow("value holding the delimiter") << pound << pound << "£pound£x£a£"
                                                 << "£5xA";
    QTest::newRow("start delimiter across the block boundary")
        << "{{"
        << "}}" << dots + "{{a}}z" << dots + "Az";
    QTest::newRow("end delimiter across the block boundary") << "{{"
                                                             << "}}"
                                                             << "{{" + longName + "}}z"
                                                             << "Nz";
    QTest::newRow("delimiter longer than a block")
        << delim << delim << dots + delim + "a" + delim + "b" << dots + "Ab";
    QTest::newRow("empty source") << pound << pound << QString() << QString();
}

void TestDataMerge::merge() {
    QFETCH(QString, delimStart);
    QFETCH(QString, delimEnd);
    QFETCH(QString, source);
    m_merge->DelimStart = delimStart;
    m_merge->DelimEnd = delimEnd;
    m_merge->setSourceText(source);
    m_merge->Execute();
    QTEST(m_merge->DestText(), "expected");
}

void TestDataMerge::findInStream_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<QByteArray>("delim");
    QTest::addColumn<bool>("found");
    QTest::addColumn<qint64>("position"); // after the search

    const QByteArray block(1024, '.');
    const QByteArray delim = longDelimiter().toLatin1();
    QTest::newRow("at the start") << QByteArray("ab..") << qint64(0) << QByteArray("ab") << true
                                  << qint64(2);
    QTest::newRow("first occurrence from the position")
        << QByteArray("ab.ab.") << qint64(1) << QByteArray("ab") << true << qint64(5);
    QTest::newRow("across the first block boundary")
        << block.left(1023) + "ab" + block << qint64(0) << QByteArray("ab") << true << qint64(1025);
    QTest::newRow("across the second block boundary")
        << block + block.left(1023) + "ab" << qint64(0) << QByteArray("ab") << true << qint64(2049);
    QTest::newRow("in a short last block")
        << block + "..ab." << qint64(0) << QByteArray("ab") << true << qint64(1028);
    QTest::newRow("longer than a block, across blocks")
        << block + delim + "." << qint64(0) << delim << true << qint64(1024 + delim.size());
    QTest::newRow("not found: at the end")
        << block + block + "a" << qint64(0) << QByteArray("ab") << false << qint64(2049);
    QTest::newRow("empty delimiter: at the end")
        << QByteArray("abc") << qint64(0) << QByteArray() << false << qint64(3);
    QTest::newRow("zero byte only in the text")
        << QByteArray("ab") << qint64(0) << QByteArray(1, '\0') << false << qint64(2);
    QTest::newRow("zero byte past the end")
        << QByteArray("ab") << qint64(0) << QByteArray("b", 2) << false << qint64(2);
}

void TestDataMerge::findInStream() {
    QFETCH(QByteArray, content);
    QFETCH(qint64, start);
    QFETCH(QByteArray, delim);
    QBuffer stream(&content);
    QVERIFY(stream.open(QIODevice::ReadOnly));
    QVERIFY(stream.seek(start));
    QTEST(TBBMDataMerge::FindInStream(stream, delim), "found");
    QTEST(stream.pos(), "position");
}

void TestDataMerge::progress_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("empty source: once, 100") << QString() << QList<int>{100};
    QTest::newRow("no variable") << "abc" << QList<int>{0, 100};
    QTest::newRow("37.5 rounds up to even") << "£a£bcdef" << QList<int>{0, 38, 100};
    QTest::newRow("62.5 rounds down to even") << "ab£c£fgh" << QList<int>{0, 62, 100};
    QTest::newRow("variable at the end") << "x£a£" << QList<int>{0, 100};
}

void TestDataMerge::progress() {
    QFETCH(QString, source);
    QList<int> reported;
    m_merge->OnProgress = [&](TBBMDataMerge& sender, qint32 percent) {
        QCOMPARE(&sender, m_merge.get());
        reported.append(percent);
    };
    m_merge->setSourceText(source);
    m_merge->Execute();
    QTEST(reported, "expected");
}

void TestDataMerge::varsKeepFirstCaseAndOrder() {
    TBBMDataMerge merge;
    TBBMDataMergeVars& vars = merge.Vars();
    vars.SetVar(QStringLiteral("Adbc"), QStringLiteral("1"));
    vars.SetVar(QStringLiteral("obw"), QStringLiteral("2"));
    vars.SetVar(QStringLiteral("ADBC"), QStringLiteral("3"));
    QCOMPARE(vars.Names(), QStringList({"Adbc", "obw"}));
    QCOMPARE(vars.Values(), QStringList({"3", "2"}));
    QString value;
    QVERIFY(vars.Find(QStringLiteral("aDbC"), value));
    QCOMPARE(value, QStringLiteral("3"));
    QVERIFY(!vars.Find(QStringLiteral("adb"), value));

    vars.Clear();
    QCOMPARE(vars.Count(), 0);
    QVERIFY(!vars.Find(QStringLiteral("obw"), value));
}

void TestDataMerge::varsKeptAcrossMerges() {
    m_merge->setSourceText(QStringLiteral("£a£"));
    m_merge->Execute();
    m_merge->setSourceText(QStringLiteral("£b££a£"));
    m_merge->Execute();
    QCOMPARE(m_merge->DestText(), QStringLiteral("BA"));
}

void TestDataMerge::changedVarsCountAtOnce() {
    m_merge->setSourceText(QStringLiteral("£a£"));
    m_merge->Execute();
    m_merge->Vars().SetVar(QStringLiteral("A"), QStringLiteral("changed"));
    m_merge->Vars().SetVar(QStringLiteral("new"), QStringLiteral("N"));
    // A variable the handler sets is found for the rest of the same merge.
    m_merge->OnLookup = [](TBBMDataMerge& sender, QString name, QString& replaceWith) {
        sender.Vars().SetVar(name, QStringLiteral("kept ") + name);
        replaceWith = QStringLiteral("first ");
    };
    m_merge->setSourceText(QStringLiteral("£a££new££x££X£"));
    m_merge->Execute();
    QCOMPARE(m_merge->DestText(), QStringLiteral("changedNfirst kept x"));
}

void TestDataMerge::lookupHandlerGetsUnknownNames() {
    QStringList asked;
    m_merge->OnLookup = [&](TBBMDataMerge&, QString name, QString& replaceWith) {
        QVERIFY(replaceWith.isEmpty());
        asked.append(name);
        if (name != QLatin1String("none"))
            replaceWith = "<" + name + ">";
    };
    m_merge->setSourceText(QStringLiteral("£a££Big cat\r\n££none£|£") +
                           QString(2000, QLatin1Char('x')) + QStringLiteral("£"));
    m_merge->Execute();
    QCOMPARE(asked, QStringList({"Big cat\r\n", "none", QString(2000, QLatin1Char('x'))}));
    QCOMPARE(m_merge->DestText(), "A<Big cat\r\n>|<" + QString(2000, QLatin1Char('x')) + ">");
}

void TestDataMerge::streamsStayTheCallers() {
    QBuffer source;
    source.setData(bytes("x£a£y"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QBuffer dest;
    QVERIFY(dest.open(QIODevice::ReadWrite));
    dest.write("head:");
    m_merge->SourceType = mmStream;
    m_merge->SourceStream = &source;
    m_merge->DestType = mmStream;
    m_merge->DestStream = &dest;
    m_merge->Execute();

    QVERIFY(source.isOpen());
    QVERIFY(dest.isOpen());
    QCOMPARE(dest.data(), QByteArray("head:xAy"));
    QCOMPARE(dest.pos(), dest.size());
}

void TestDataMerge::streamSourceMergedFromItsPosition() {
    QBuffer source;
    source.setData(bytes("£a£|£b£c"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QVERIFY(source.seek(4));
    m_merge->SourceType = mmStream;
    m_merge->SourceStream = &source;
    m_merge->Execute();
    QCOMPARE(m_merge->DestText(), QStringLiteral("Bc"));
    QCOMPARE(source.pos(), source.size());
}

void TestDataMerge::fileToFile_data() {
    QTest::addColumn<QByteArray>("previous"); // null: no destination file yet

    QTest::newRow("new file") << QByteArray();
    QTest::newRow("longer file is cut") << QByteArray(5000, 'z');
}

void TestDataMerge::fileToFile() {
    QFETCH(QByteArray, previous);
    QFile::remove(path("dest.txt"));
    if (!previous.isNull())
        writeFile(path("dest.txt"), previous);
    writeFile(path("source.txt"), bytes("x £a£ £ADBC£."));
    m_merge->SourceType = mmFile;
    m_merge->SourceFile = path("source.txt");
    m_merge->DestType = mmFile;
    m_merge->DestFile = path("dest.txt");
    m_merge->Execute();
    QCOMPARE(fileBytes(path("dest.txt")), QByteArray("x A transparent."));
}

void TestDataMerge::fileMergedIntoItself() {
    writeFile(path("self.txt"), bytes("£a£") + QByteArray(100000, '.'));
    m_merge->SourceType = mmFile;
    m_merge->SourceFile = path("self.txt");
    m_merge->DestType = mmFile;
    m_merge->DestFile = path("self.txt");
    m_merge->Execute();
    QCOMPARE(fileBytes(path("self.txt")), "A" + QByteArray(100000, '.'));
}

void TestDataMerge::missingSourceFile() {
    writeFile(path("kept.txt"), "old");
    m_merge->SourceType = mmFile;
    m_merge->SourceFile = path("absent.txt");
    m_merge->DestType = mmFile;
    for (const char* dest : {"kept.txt", "never.txt"}) {
        m_merge->DestFile = path(dest);
        try {
            m_merge->Execute();
            QFAIL("no error for a missing source file");
        } catch (const EMissingFile& error) {
            QCOMPARE(error.message(), "Unable to merge data because the file \"" +
                                          path("absent.txt") + "\" does not exist.");
        }
    }
    QCOMPARE(fileBytes(path("kept.txt")), QByteArray("old"));
    QVERIFY(!QFile::exists(path("never.txt")));
}

void TestDataMerge::failedMergeKeepsDestFile() {
    QTemporaryDir dir;
    const QString dest = dir.filePath(QStringLiteral("dest.txt"));
    writeFile(dest, "previous result");
    m_merge->setSourceText(QStringLiteral("new £unknown£ text"));
    m_merge->OnLookup = [](TBBMDataMerge&, QString, QString&) { throw AppError("lookup failed"); };
    m_merge->DestType = mmFile;
    m_merge->DestFile = dest;
    QVERIFY_THROWS_EXCEPTION(AppError, m_merge->Execute());
    QCOMPARE(fileBytes(dest), QByteArray("previous result"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"dest.txt"}));
}

void TestDataMerge::deviceFailuresPropagate_data() {
    QTest::addColumn<qint64>("readLimit");
    QTest::addColumn<qint64>("writeLimit");

    QTest::newRow("read fails") << qint64(5000) << qint64(1 << 30);
    QTest::newRow("write fails") << qint64(1 << 30) << qint64(5000);
}

void TestDataMerge::deviceFailuresPropagate() {
    QFETCH(qint64, readLimit);
    QFETCH(qint64, writeLimit);
    FailingBuffer source(readLimit, 1 << 30);
    source.setData(QByteArray(3000, '.') + bytes("£a£") + QByteArray(7000, '.'));
    QVERIFY(source.open(QIODevice::ReadOnly));
    FailingBuffer dest(1 << 30, writeLimit);
    QVERIFY(dest.open(QIODevice::WriteOnly));
    m_merge->SourceType = mmStream;
    m_merge->SourceStream = &source;
    m_merge->DestType = mmStream;
    m_merge->DestStream = &dest;
    try {
        m_merge->Execute();
        QFAIL("no error for a failing device");
    } catch (const AppError& error) {
        QVERIFY2(error.message().contains("device failure"), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestDataMerge)
#include "tst_datamerge.moc"
