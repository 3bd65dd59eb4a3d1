#include "pagegen/pagepictures.h"

#include <QTest>

class TestPagePictures : public QObject {
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
};

void TestPagePictures::addresses_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("img src, three quotings")
        << "<IMG SRC=\"http://a/1.gif\"><img alt='x' src='http://a/2.gif'><img src=http://a/3.gif>"
        << QStringList{"http://a/1.gif", "http://a/2.gif", "http://a/3.gif"};
    QTest::newRow("background attribute")
        << "<table background=\"http://a/bg.jpg\"><td BACKGROUND='http://a/td.jpg'>"
        << QStringList{"http://a/bg.jpg", "http://a/td.jpg"};
    QTest::newRow("css url, in order with the rest")
        << "<style>body { background: url(http://a/body.gif) }</style>"
           "<img src=\"http://a/1.gif\"><div style=\"background-image:url('http://a/div.gif')\">"
        << QStringList{"http://a/body.gif", "http://a/1.gif", "http://a/div.gif"};
    QTest::newRow("quoted url in a style attribute")
        << "<div style=\"background:url(&quot;http://a/q.gif&quot;)\">"
        << QStringList{"http://a/q.gif"};
    QTest::newRow("character references")
        << "<img src=\"http://a/p.php?a=1&amp;b=2\">" << QStringList{"http://a/p.php?a=1&b=2"};
    QTest::newRow("each once") << "<img src=\"http://a/1.gif\"><td background=\"http://a/1.gif\">"
                               << QStringList{"http://a/1.gif"};
    QTest::newRow("names in another letter case are other pictures")
        << "<img src=\"http://a/Sky.jpg\"><img src=\"http://a/sky.jpg\">"
        << QStringList{"http://a/Sky.jpg", "http://a/sky.jpg"};
    QTest::newRow("embedded and empty left out")
        << "<img src=\"data:image/gif;base64,R0lGOD\"><img src=\"\">" << QStringList();
    QTest::newRow("not a picture attribute")
        << "<a href=\"http://a/page.html\">x</a><script src=\"http://a/s.js\"></script>"
           "<img data-src=\"http://a/lazy.gif\" src=\"http://a/1.gif\">"
        << QStringList{"http://a/1.gif"};
    QTest::newRow("relative kept") << "<img src=\"images/p.gif\">" << QStringList{"images/p.gif"};
}

void TestPagePictures::addresses() {
    QFETCH(QString, html);
    QFETCH(QStringList, addresses);
    QCOMPARE(pagePictureAddresses(html), addresses);
}

QTEST_GUILESS_MAIN(TestPagePictures)
#include "tst_pagepictures.moc"
