#include "http/uploadrun.h"
#include "listing/uploadrecord.h"
#include "support/sampledocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using State = UploadItemResult::State;
Q_DECLARE_METATYPE(QList<UploadProblem>)
Q_DECLARE_METATYPE(QList<State>)

namespace {

/// What the fake folders of a run were told to do and did.
struct Script {
    /// The outcome of each send, in order; sends beyond the list succeed.
    QList<UploadProblem> outcomes;
    QList<std::pair<QString, QByteArray>> sent;
    int cancels = 0;
};

/// A folder that answers from the script, from the event loop as a real
/// one does.
class FakeFolder : public RemoteFolder {
public:
    FakeFolder(const UploadAccount& account, std::shared_ptr<Script> script, QObject* parent)
        : RemoteFolder(account, parent)
        , m_script(std::move(script)) {
        m_answer.setSingleShot(true);
        connect(&m_answer, &QTimer::timeout, this, [this] {
            UploadOutcome outcome;
            const qsizetype call = m_calls++;
            if (call < m_script->outcomes.size())
                outcome.problem = m_script->outcomes.at(call);
            if (!outcome.ok())
                outcome.message = QStringLiteral("scripted failure of ") + m_name;
            else
                m_script->sent.append({m_name, m_bytes});
            m_busy = false;
            emit progress(m_bytes.size(), m_bytes.size());
            emit finished(outcome);
        });
    }

    void send(const QString& remoteName, const QByteArray& bytes) override {
        m_name = remoteName;
        m_bytes = bytes;
        m_busy = true;
        m_answer.start(0);
    }
    void remove(const QString&) override {}
    void test() override {}
    void cancel() override {
        m_answer.stop();
        m_busy = false;
        ++m_script->cancels;
    }
    bool isBusy() const override { return m_busy; }

private:
    std::shared_ptr<Script> m_script;
    QTimer m_answer;
    QString m_name;
    QByteArray m_bytes;
    qsizetype m_calls = 0;
    bool m_busy = false;
};

void writeFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

UploadAccount account() {
    UploadAccount account;
    account.protocol = UploadAccount::Protocol::Sftp;
    account.host = QStringLiteral("pictures.example");
    account.folder = QStringLiteral("shop");
    return account;
}

} // namespace

class TestUploadRun : public QObject {
    Q_OBJECT

private slots:
    void init();
    void sendsOrStops_data();
    void sendsOrStops();
    void nextRun_data();
    void nextRun();
    void missingPictureFailsAndTheOthersGo();
    void twoPicturesOfOneNameAreNeitherSent();
    void cancelStopsWhereItIs();
    void largePhotoIsSentPreparedForTheWeb();

private:
    /// Three pictures in files, the last one pasted (bytes of no file).
    QList<UploadItem> threePictures();
    /// Runs to its end; the script receives what the folders did.
    void run(UploadRun& run, std::shared_ptr<Script> script);
    UploadRun::Options options() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestUploadRun::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QList<UploadItem> TestUploadRun::threePictures() {
    QList<UploadItem> items;
    const QRgb colours[] = {qRgb(200, 0, 0), qRgb(0, 200, 0)};
    for (int i = 0; i < 2; ++i) {
        const QString name = QStringLiteral("photo%1.png").arg(i);
        writeFile(m_dir->filePath(name), sampledocument::pngBytes(40, 30, colours[i]));
        items.append({m_dir->filePath(name), {}, name, "https://pictures.example/shop/" + name});
    }
    items.append({QString(), sampledocument::pngBytes(20, 20, qRgb(0, 0, 200)),
                  QStringLiteral("picture-pasted.png"),
                  QStringLiteral("https://pictures.example/shop/picture-pasted.png")});
    return items;
}

UploadRun::Options TestUploadRun::options() const {
    UploadRun::Options options;
    options.recordFile = m_dir->filePath(QStringLiteral("record/sent.json"));
    options.retries = 2;
    options.retryDelayMs = 1;
    return options;
}

void TestUploadRun::run(UploadRun& run, std::shared_ptr<Script> script) {
    run.setFolderFactory([script](const UploadAccount& account, QObject* parent) {
        return std::make_unique<FakeFolder>(account, script, parent);
    });
    QSignalSpy finished(&run, &UploadRun::finished);
    run.start();
    QVERIFY(finished.wait(10000));
    QTest::qWait(20);
    QCOMPARE(finished.size(), 1);
}

void TestUploadRun::sendsOrStops_data() {
    QTest::addColumn<QList<UploadProblem>>("outcomes");
    QTest::addColumn<QList<State>>("states");
    QTest::addColumn<QList<int>>("attempts");
    QTest::addColumn<bool>("untrusted");
    using P = UploadProblem;
    const State S = State::Sent, F = State::Failed, C = State::Cancelled;
    QTest::newRow("all sent") << QList<P>{} << QList<State>{S, S, S} << QList<int>{1, 1, 1}
                              << false;
    QTest::newRow("dropped once, then sent")
        << QList<P>{P::Dropped} << QList<State>{S, S, S} << QList<int>{2, 1, 1} << false;
    QTest::newRow("dropped beyond the retries")
        << QList<P>{P::Dropped, P::Dropped, P::Dropped} << QList<State>{F, S, S}
        << QList<int>{3, 1, 1} << false;
    QTest::newRow("a name refused fails that picture only")
        << QList<P>{P::None, P::NameRefused} << QList<State>{S, F, S} << QList<int>{1, 1, 1}
        << false;
    QTest::newRow("wrong login stops the rest")
        << QList<P>{P::WrongLogin} << QList<State>{F, F, F} << QList<int>{1, 0, 0} << false;
    QTest::newRow("host not found stops the rest")
        << QList<P>{P::None, P::HostNotFound} << QList<State>{S, F, F} << QList<int>{1, 1, 0}
        << false;
    QTest::newRow("unreachable after its retries stops the rest")
        << QList<P>{P::Unreachable, P::Unreachable, P::Unreachable} << QList<State>{F, F, F}
        << QList<int>{3, 0, 0} << false;
    QTest::newRow("unknown host key")
        << QList<P>{P::UnknownHostKey} << QList<State>{F, C, C} << QList<int>{1, 0, 0} << true;
    QTest::newRow("changed host key")
        << QList<P>{P::ChangedHostKey} << QList<State>{F, C, C} << QList<int>{1, 0, 0} << true;
    QTest::newRow("untrusted certificate") << QList<P>{P::UntrustedCertificate}
                                           << QList<State>{F, C, C} << QList<int>{1, 0, 0} << true;
}

void TestUploadRun::sendsOrStops() {
    QFETCH(QList<UploadProblem>, outcomes);
    QFETCH(QList<State>, states);
    QFETCH(QList<int>, attempts);
    QFETCH(bool, untrusted);
    auto script = std::make_shared<Script>();
    script->outcomes = outcomes;
    const QList<UploadItem> items = threePictures();
    UploadRun upload(account(), items, options());
    QSignalSpy itemFinished(&upload, &UploadRun::itemFinished);
    QSignalSpy untrustedServer(&upload, &UploadRun::untrustedServer);
    run(upload, script);

    QCOMPARE(upload.results().size(), items.size());
    QCOMPARE(itemFinished.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        const UploadItemResult& result = upload.results().at(i);
        QCOMPARE(itemFinished.at(i).at(0).toInt(), i);
        QCOMPARE(result.state, states.at(i));
        QCOMPARE(result.attempts, attempts.at(i));
        // Each message names its own picture.
        if (result.state != State::Sent)
            QVERIFY2(result.outcome.message.contains(items.at(i).remoteName),
                     qPrintable(result.outcome.message));
    }
    QCOMPARE(untrustedServer.size(), untrusted ? 1 : 0);
    if (untrusted)
        QCOMPARE(untrustedServer.at(0).at(0).value<UploadOutcome>().problem, outcomes.last());
    QCOMPARE(upload.succeeded(), !states.contains(State::Failed));
    // Exactly the pictures reported sent reached the folder, prepared.
    QStringList sentNames;
    for (const auto& [name, bytes] : std::as_const(script->sent)) {
        sentNames.append(name);
        QVERIFY(!QImage::fromData(bytes).isNull());
    }
    QStringList expected;
    for (int i = 0; i < items.size(); ++i)
        if (states.at(i) == State::Sent)
            expected.append(items.at(i).remoteName);
    QCOMPARE(sentNames, expected);
}

void TestUploadRun::nextRun_data() {
    QTest::addColumn<QString>("between");
    QTest::addColumn<QList<State>>("states");
    const State S = State::Sent, U = State::Unchanged;
    QTest::newRow("nothing changed") << QString() << QList<State>{U, U, U};
    QTest::newRow("a picture changed") << "change photo1" << QList<State>{U, S, U};
    QTest::newRow("the image test missed one") << "forget photo0" << QList<State>{S, U, U};
    QTest::newRow("damaged record") << "damage record" << QList<State>{S, S, S};
    QTest::newRow("another server") << "other server" << QList<State>{S, S, S};
}

void TestUploadRun::nextRun() {
    QFETCH(QString, between);
    QFETCH(QList<State>, states);
    const QList<UploadItem> items = threePictures();
    {
        UploadRun first(account(), items, options());
        run(first, std::make_shared<Script>());
        QVERIFY(first.succeeded());
        QVERIFY2(first.recordProblem().isEmpty(), qPrintable(first.recordProblem()));
    }
    UploadAccount second = account();
    if (between == QLatin1String("change photo1"))
        writeFile(items.at(1).localFile, sampledocument::pngBytes(40, 30, qRgb(10, 10, 10)));
    if (between == QLatin1String("forget photo0"))
        QVERIFY(UploadRun::forgetMissing(options().recordFile, items, {items.at(0).address}));
    if (between == QLatin1String("damage record"))
        writeFile(options().recordFile, "{ not json");
    if (between == QLatin1String("other server"))
        second.host = QStringLiteral("other.example");

    auto script = std::make_shared<Script>();
    UploadRun next(second, items, options());
    run(next, script);
    QVERIFY(next.succeeded());
    QStringList sentNames;
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(next.results().at(i).state, states.at(i));
        if (states.at(i) == State::Sent)
            sentNames.append(items.at(i).remoteName);
    }
    QCOMPARE(script->sent.size(), sentNames.size());
    for (qsizetype i = 0; i < sentNames.size(); ++i)
        QCOMPARE(script->sent.at(i).first, sentNames.at(i));
    // A record that cannot be trusted is said, and then replaced.
    QCOMPARE(next.recordProblem().isEmpty(), !states.contains(State::Sent) ||
                                                 between == QLatin1String("change photo1") ||
                                                 between == QLatin1String("forget photo0"));

    // What this run sent is in the record now: a third run sends nothing.
    auto third = std::make_shared<Script>();
    UploadRun after(second, items, options());
    run(after, third);
    QVERIFY(third->sent.isEmpty());
    for (const UploadItemResult& result : after.results())
        QCOMPARE(result.state, State::Unchanged);
}

void TestUploadRun::missingPictureFailsAndTheOthersGo() {
    QList<UploadItem> items = threePictures();
    QVERIFY(QFile::remove(items.at(0).localFile));
    auto script = std::make_shared<Script>();
    UploadRun upload(account(), items, options());
    run(upload, script);
    const UploadItemResult& missing = upload.results().at(0);
    QCOMPARE(missing.state, State::Failed);
    QCOMPARE(missing.outcome.problem, UploadProblem::LocalFile);
    QVERIFY2(missing.outcome.message.contains(QLatin1String("photo0.png")) &&
                 missing.outcome.message.contains(QLatin1String("moved or deleted")),
             qPrintable(missing.outcome.message));
    QCOMPARE(missing.attempts, 0);
    QCOMPARE(upload.results().at(1).state, State::Sent);
    QCOMPARE(upload.results().at(2).state, State::Sent);
    QVERIFY(!upload.succeeded());
    QCOMPARE(script->sent.size(), 2);
}

void TestUploadRun::twoPicturesOfOneNameAreNeitherSent() {
    // Two photos called alike in different folders: sending both would leave
    // one of them on the server, shown in both places of the page.
    QList<UploadItem> items = threePictures();
    items[1].remoteName = items.at(0).remoteName;
    auto script = std::make_shared<Script>();
    UploadRun upload(account(), items, options());
    run(upload, script);
    for (int i : {0, 1}) {
        const UploadItemResult& clash = upload.results().at(i);
        QCOMPARE(clash.state, State::Failed);
        QCOMPARE(clash.outcome.problem, UploadProblem::NameRefused);
        QVERIFY2(clash.outcome.message.contains(QLatin1String("photo0.png")) &&
                     clash.outcome.message.contains(QLatin1String("photo1.png")),
                 qPrintable(clash.outcome.message));
    }
    QCOMPARE(upload.results().at(2).state, State::Sent);
    QCOMPARE(script->sent.size(), 1);
}

void TestUploadRun::cancelStopsWhereItIs() {
    const QList<UploadItem> items = threePictures();
    auto script = std::make_shared<Script>();
    UploadRun upload(account(), items, options());
    // Cancelled while the second picture is on its way.
    connect(&upload, &UploadRun::itemProgress, &upload, [&](int index) {
        if (index == 1)
            upload.cancel();
    });
    QSignalSpy itemFinished(&upload, &UploadRun::itemFinished);
    run(upload, script);
    QCOMPARE(script->sent.size(), 1);
    QCOMPARE(script->cancels, 1);
    QCOMPARE(itemFinished.size(), 1);
    const QList<State> states{State::Sent, State::Cancelled, State::Cancelled};
    QCOMPARE(upload.results().size(), states.size());
    for (int i = 0; i < states.size(); ++i)
        QCOMPARE(upload.results().at(i).state, states.at(i));
    QVERIFY(!upload.succeeded());
    // Only what reached the server is in the record.
    const Result<UploadRecord> record =
        UploadRecord::load(options().recordFile, account().folderUrl().toString());
    QVERIFY(record);
    QCOMPARE(record->size(), 1);
    upload.cancel();
    QTest::qWait(20);
    QCOMPARE(script->sent.size(), 1);
}

void TestUploadRun::largePhotoIsSentPreparedForTheWeb() {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(qRgb(120, 160, 200));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(photo.save(&buffer, "jpeg", 90));
    // A camera's EXIF block with where the photo was taken.
    const QByteArray exif = QByteArray("Exif\0\0MM\0*\0\0\0\x08\0\0", 16) + "GPS 48.8566N";
    const int length = int(exif.size()) + 2;
    jpeg.insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif);
    writeFile(m_dir->filePath(QStringLiteral("phone.jpg")), jpeg);
    QVERIFY(QImage::fromData(jpeg).size() == QSize(4000, 3000));

    auto script = std::make_shared<Script>();
    UploadRun upload(account(),
                     {{m_dir->filePath(QStringLiteral("phone.jpg")),
                       {},
                       QStringLiteral("phone.jpg"),
                       QStringLiteral("https://pictures.example/shop/phone.jpg")}},
                     options());
    run(upload, script);
    QVERIFY(upload.succeeded());
    QCOMPARE(script->sent.size(), 1);
    QByteArray sent = script->sent.at(0).second;
    QVERIFY(!sent.contains("Exif"));
    QVERIFY(!sent.contains("GPS"));
    QBuffer sentBuffer(&sent);
    QImageReader reader(&sentBuffer);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(1600, 1200));
}

QTEST_MAIN(TestUploadRun)
#include "tst_uploadrun.moc"
