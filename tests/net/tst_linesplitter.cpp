// The line splitting of the finger and WHOIS client: the same lines however the peer cuts its answer into
// pieces, and every limit a peer could push against (an endless line, an endless answer, a flood of empty
// lines).
#include "net/linesplitter.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QStringList feedInPieces(LineSplitter& splitter, const QByteArray& bytes, qsizetype piece)
{
    QStringList lines;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        lines << splitter.feed(bytes.mid(at, piece));
    if (const std::optional<QString> rest = splitter.takeRest())
        lines << *rest;
    return lines;
}

} // namespace

class TstLineSplitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sameLinesWhateverThePieces_data();
    void sameLinesWhateverThePieces();
    void longLineIsCutAndMarked();
    void endlessAnswerStopsAtItsLimit();
    void floodOfEmptyLinesStopsAtItsLimit();
    void clearStartsAnew();
};

void TstLineSplitter::sameLinesWhateverThePieces_data()
{
    QTest::addColumn<QByteArray>("delimiter");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("finger") << QByteArray("\r\n") << QByteArray("Login: john\r\n\r\nPlan:\r\nnone\r\n")
                            << QStringList{"Login: john", "", "Plan:", "none"};
    QTest::newRow("whois") << QByteArray("\n") << QByteArray("domain: example.com\r\nstatus: active\n")
                           << QStringList{"domain: example.com\r", "status: active"};
    QTest::newRow("lone carriage returns and feeds stay in the line")
        << QByteArray("\r\n") << QByteArray("a\rb\nc\r\n\r\r\n") << QStringList{"a\rb\nc", "\r"};
    QTest::newRow("last line without delimiter")
        << QByteArray("\r\n") << QByteArray("one\r\ntail\r") << QStringList{"one", "tail\r"};
    QTest::newRow("longer delimiter") << QByteArray("\r\n\r\n") << QByteArray("a\r\nb\r\n\r\nc\r\n\r\r\n\r\n")
                                      << QStringList{"a\r\nb", "c\r\n\r"};
    QTest::newRow("latin-1 bytes") << QByteArray("\n") << QByteArray("caf\xe9\n\xff") << QStringList{"caf\u00e9", "\u00ff"};
}

void TstLineSplitter::sameLinesWhateverThePieces()
{
    QFETCH(QByteArray, delimiter);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, lines);
    for (qsizetype piece = 1; piece <= sent.size(); ++piece) {
        LineSplitter splitter(delimiter);
        QCOMPARE(feedInPieces(splitter, sent, piece), lines);
    }
    // Pieces of every size at once, as a network delivers them.
    LineSplitter splitter(delimiter);
    QStringList got;
    for (qsizetype at = 0; at < sent.size();) {
        const qsizetype piece = 1 + QRandomGenerator::global()->bounded(4);
        got << splitter.feed(sent.mid(at, piece));
        at += piece;
    }
    if (const std::optional<QString> rest = splitter.takeRest())
        got << *rest;
    QCOMPARE(got, lines);
}

void TstLineSplitter::longLineIsCutAndMarked()
{
    const QByteArray longLine(3 * LineSplitter::kLongestLine, 'x');
    const QByteArray sent = "before\r\n" + longLine + "\r\nafter\r\n";
    for (const qsizetype piece : {qsizetype(1000), qsizetype(65536), sent.size()}) {
        LineSplitter splitter;
        const QStringList lines = feedInPieces(splitter, sent, piece);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("before"));
        QCOMPARE(lines.at(1), QString(LineSplitter::kLongestLine, QLatin1Char('x')) + LineSplitter::cutMark());
        QCOMPARE(lines.at(2), QStringLiteral("after"));
    }
    QCOMPARE(LineSplitter::cutMark(), QStringLiteral(" [line cut at 64 KB]"));
}

void TstLineSplitter::endlessAnswerStopsAtItsLimit()
{
    LineSplitter splitter;
    const QByteArray piece = QByteArray(98, 'a') + "\r\n";
    const QByteArray chunk = piece.repeated(650);
    qint64 sent = 0;
    qsizetype lines = 0;
    while (!splitter.isFull() && sent < 4 * LineSplitter::kLargestAnswer) {
        lines += splitter.feed(chunk).size();
        sent += chunk.size();
    }
    QVERIFY(splitter.isFull());
    QVERIFY(sent <= LineSplitter::kLargestAnswer + chunk.size());
    // Each line has its bytes and its keeping counted.
    QVERIFY(lines * (piece.size() + LineSplitter::kLineCost) >= LineSplitter::kLargestAnswer - chunk.size());
    QVERIFY(lines * piece.size() <= LineSplitter::kLargestAnswer);
    QCOMPARE(splitter.feed(chunk), QStringList());
}

void TstLineSplitter::floodOfEmptyLinesStopsAtItsLimit()
{
    LineSplitter splitter("\n");
    const QByteArray chunk(64 * 1024, '\n');
    qsizetype lines = 0;
    while (!splitter.isFull())
        lines += splitter.feed(chunk).size();
    QVERIFY(lines <= LineSplitter::kLargestAnswer / LineSplitter::kLineCost + chunk.size());
    QVERIFY(lines >= LineSplitter::kLargestAnswer / (LineSplitter::kLineCost + 1) - chunk.size());
}

void TstLineSplitter::clearStartsAnew()
{
    LineSplitter splitter;
    splitter.feed(QByteArray(LineSplitter::kLargestAnswer, 'z'));
    QVERIFY(splitter.isFull());
    splitter.clear();
    QVERIFY(!splitter.isFull());
    QCOMPARE(splitter.feed("fresh\r\n"), QStringList{QStringLiteral("fresh")});
    QCOMPARE(splitter.takeRest(), std::nullopt);
}

QTEST_GUILESS_MAIN(TstLineSplitter)
#include "tst_linesplitter.moc"
