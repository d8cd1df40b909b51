// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/rating.h"

#include <QtTest>

class tst_Rating : public QObject
{
    Q_OBJECT
private slots:
    void newRatings_data();
    void newRatings();
};

// clang-format off
void tst_Rating::newRatings_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("own");
    QTest::addColumn<int>("opponent");
    QTest::addColumn<double>("score");
    QTest::addColumn<QList<int>>("ratings"); // empty: a new rating beyond 16 bits
    // Equal ratings: the three results
    QTest::newRow("equal-won")   << 30 << 1500 << 1500 << 1.0 << QList<int>{1515, 1485};
    QTest::newRow("equal-draw")  << 30 << 1500 << 1500 << 0.5 << QList<int>{1500, 1500};
    QTest::newRow("equal-lost")  << 30 << 1500 << 1500 << 0.0 << QList<int>{1485, 1515};
    // The stronger player
    QTest::newRow("strong-draw") << 30 << 1600 << 1400 << 0.5 << QList<int>{1592, 1408};
    QTest::newRow("far-apart")   << 30 << 2000 << 1000 << 0.0 << QList<int>{1970, 1030};
    // The weaker player wins
    QTest::newRow("upset")       << 30 << 1500 << 1520 << 1.0 << QList<int>{1516, 1504};
    // Both sides round half up on their own: the changes do not cancel
    QTest::newRow("ones")        << 1  << 1    << 1    << 1.0 << QList<int>{2, 1};
    // Beyond 16 bits
    QTest::newRow("overflow")    << 32767 << 32767 << 32767 << 1.0 << QList<int>{};
    QTest::newRow("underflow")   << 32767 << -32768 << -32768 << 0.0 << QList<int>{};
}
// clang-format on

void tst_Rating::newRatings()
{
    QFETCH(int, k);
    QFETCH(int, own);
    QFETCH(int, opponent);
    QFETCH(double, score);
    QFETCH(QList<int>, ratings);
    const auto result = calc::newRatings(std::int16_t(k), std::int16_t(own), std::int16_t(opponent),
                                         score);
    QCOMPARE(result.has_value(), !ratings.isEmpty());
    if (result)
        QCOMPARE((QList<int> {result->own, result->opponent}), ratings);
}

QTEST_GUILESS_MAIN(tst_Rating)
#include "tst_rating.moc"
