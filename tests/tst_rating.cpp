// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/rating.h"

#include <QtTest>

Q_DECLARE_METATYPE(calc::Entry)

namespace {

QStringList texts(const calc::ResultTexts &r)
{
    return {QString::fromStdString(r.newOwn), QString::fromStdString(r.ownChange),
            QString::fromStdString(r.newOpponent), QString::fromStdString(r.opponentChange)};
}

QStringList texts(const calc::EntryTexts &e)
{
    return {QString::fromStdString(e.k), QString::fromStdString(e.own),
            QString::fromStdString(e.opponent)};
}

calc::EntryTexts entries(const QString &k, const QString &own, const QString &opponent)
{
    return {k.toStdString(), own.toStdString(), opponent.toStdString()};
}

} // namespace

class tst_Rating : public QObject
{
    Q_OBJECT
private slots:
    void newRatings_data();
    void newRatings();
    void invalidEntries_data();
    void invalidEntries();
    void normalisesValidEntries();
    void newRatingOutside16Bits();
};

// clang-format off
void tst_Rating::newRatings_data()
{
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("opponent");
    QTest::addColumn<double>("score");
    QTest::addColumn<QStringList>("results");
    // Equal ratings: the three results
    QTest::newRow("equal-won")   << "30" << "1500" << "1500" << 1.0 << QStringList{"1515", "15", "1485", "-15"};
    QTest::newRow("equal-draw")  << "30" << "1500" << "1500" << 0.5 << QStringList{"1500", "0", "1500", "0"};
    QTest::newRow("equal-lost")  << "30" << "1500" << "1500" << 0.0 << QStringList{"1485", "-15", "1515", "15"};
    // The stronger player
    QTest::newRow("strong-won")  << "30" << "1600" << "1400" << 1.0 << QStringList{"1607", "7", "1393", "-7"};
    QTest::newRow("strong-draw") << "30" << "1600" << "1400" << 0.5 << QStringList{"1592", "-8", "1408", "8"};
    QTest::newRow("strong-lost") << "30" << "1600" << "1400" << 0.0 << QStringList{"1577", "-23", "1423", "23"};
    QTest::newRow("far-apart")   << "30" << "2000" << "1000" << 0.0 << QStringList{"1970", "-30", "1030", "30"};
    // The weaker player wins
    QTest::newRow("upset")       << "30" << "1500" << "1520" << 1.0 << QStringList{"1516", "16", "1504", "-16"};
    QTest::newRow("k15")         << "15" << "2100" << "2300" << 1.0 << QStringList{"2111", "11", "2289", "-11"};
    // Both sides round half up on their own: the changes do not cancel
    QTest::newRow("ones")        << "1"  << "1"    << "1"    << 1.0 << QStringList{"2", "1", "1", "0"};
}
// clang-format on

void tst_Rating::newRatings()
{
    QFETCH(QString, k);
    QFETCH(QString, own);
    QFETCH(QString, opponent);
    QFETCH(double, score);
    QFETCH(QStringList, results);
    const calc::Calculation c = calc::calculate(entries(k, own, opponent), score);
    QVERIFY(!c.focus);
    QVERIFY(c.results);
    QCOMPARE(texts(*c.results), results);
}

// clang-format off
void tst_Rating::invalidEntries_data()
{
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("opponent");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<calc::Entry>("focus");
    // Less than 1; the focus goes to K, then opponent, then own
    QTest::newRow("first-start")   << "30" << "0"    << "0"    << QStringList{"30", "0", "0"}         << calc::Entry::Opponent;
    QTest::newRow("k-and-opp")     << "0"  << "1500" << "0"    << QStringList{"0", "1500", "0"}       << calc::Entry::K;
    QTest::newRow("own-letters")   << "30" << "abc"  << "1500" << QStringList{"30", "0", "1500"}      << calc::Entry::Own;
    QTest::newRow("negative-k")    << "-3" << "1500" << "1500" << QStringList{"-3", "1500", "1500"}   << calc::Entry::K;
    QTest::newRow("fraction-below-1") << "30" << "0.9" << "1500" << QStringList{"30", "0", "1500"}    << calc::Entry::Own;
    // Outside 16 bits: invalid too, and the box keeps what was typed
    QTest::newRow("own-overflow")  << "30" << "9e9"  << "1500" << QStringList{"30", "9e9", "1500"}    << calc::Entry::Own;
    QTest::newRow("k-overflow")    << "1e5" << "1x"  << "1500.5" << QStringList{"1e5", "1", "1500"}   << calc::Entry::K;
    QTest::newRow("opp-over-own-0") << "30" << "0"   << "-4e4" << QStringList{"30", "0", "-4e4"}      << calc::Entry::Opponent;
}
// clang-format on

void tst_Rating::invalidEntries()
{
    QFETCH(QString, k);
    QFETCH(QString, own);
    QFETCH(QString, opponent);
    QFETCH(QStringList, shown);
    QFETCH(calc::Entry, focus);
    const calc::Calculation c = calc::calculate(entries(k, own, opponent), 1.0);
    QCOMPARE(texts(c.entries), shown);
    QVERIFY(c.focus);
    QCOMPARE(*c.focus, focus);
    QVERIFY(!c.results);
}

void tst_Rating::normalisesValidEntries()
{
    const calc::Calculation c = calc::calculate(entries("30", "15.7", "1e3"), 1.0);
    QCOMPARE(texts(c.entries), (QStringList {"30", "15", "1000"}));
    QVERIFY(c.results);
    QCOMPARE(texts(*c.results), (QStringList {"45", "30", "970", "-30"}));
}

void tst_Rating::newRatingOutside16Bits()
{
    // Reachable only with entries loaded from the file, which are not length-limited.
    const calc::Calculation c = calc::calculate(entries("32767", "32767", "32767"), 1.0);
    QVERIFY(!c.focus);
    QVERIFY(!c.results);
    QCOMPARE(texts(c.entries), (QStringList {"32767", "32767", "32767"}));
}

QTEST_GUILESS_MAIN(tst_Rating)
#include "tst_rating.moc"
