// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/wrap.h"

#include <QtTest>

namespace {

// One unit per character, as a fixed-pitch face would measure.
int characters(std::string_view text)
{
    return static_cast<int>(QString::fromUtf8(text).size());
}

} // namespace

class tst_Wrap : public QObject
{
    Q_OBJECT
private slots:
    void atBlanks_data();
    void atBlanks();
    void anywhere_data();
    void anywhere();
};

// clang-format off
void tst_Wrap::atBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("wrapped");
    QTest::newRow("fits")          << "Die ELO-Scores" << 14 << "Die ELO-Scores";
    // Never after a hyphen
    QTest::newRow("hyphen")        << "Die ELO-Scores und" << 10 << "Die\nELO-Scores\nund";
    QTest::newRow("greedy")        << "a b c d e" << 3 << "a b\nc d\ne";
    // A line feed stays, and each paragraph wraps on its own
    QTest::newRow("line-feed")     << "ab cd\nef gh" << 5 << "ab cd\nef gh";
    QTest::newRow("paragraphs")    << "ab cd\nef gh ij" << 5 << "ab cd\nef gh\nij";
    // Blanks at a line's end take no room
    QTest::newRow("trailing")      << "neue \nELO" << 4 << "neue \nELO";
    QTest::newRow("blank-at-edge") << "abcd efg" << 4 << "abcd\nefg";
    // A word wider than a line stands alone
    QTest::newRow("long-word")     << "a Schreibberechtigung b" << 5 << "a\nSchreibberechtigung\nb";
    QTest::newRow("umlauts")       << "für über" << 4 << "für\nüber";
}
// clang-format on

void tst_Wrap::atBlanks()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, wrapped);
    QCOMPARE(QString::fromStdString(wrappedAtBlanks(text.toStdString(), characters, width)),
             wrapped);
}

// clang-format off
void tst_Wrap::anywhere_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("wrapped");
    QTest::newRow("path")   << "/home/anna/Ratinor.ini" << 8 << "/home/an\nna/Ratin\nor.ini";
    // Never inside a character that takes several bytes
    QTest::newRow("utf-8")  << "ääää\U0001F600ü" << 3 << "äää\nä\U0001F600\nü";
    QTest::newRow("narrow") << "abc" << 0 << "a\nb\nc";
}
// clang-format on

void tst_Wrap::anywhere()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, wrapped);
    QCOMPARE(QString::fromStdString(wrappedAnywhere(text.toStdString(), characters, width)),
             wrapped);
}

QTEST_GUILESS_MAIN(tst_Wrap)
#include "tst_wrap.moc"
