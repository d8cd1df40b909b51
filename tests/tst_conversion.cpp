// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/conversion.h"

#include <QtTest>

#include <clocale>

class tst_Conversion : public QObject
{
    Q_OBJECT
private slots:
    void entryValue_data();
    void entryValue();
    void entryValueIgnoresLocale();
    void clampedEntryValue_data();
    void clampedEntryValue();
    void numericPrefixLength_data();
    void numericPrefixLength();
    void entryText_data();
    void entryText();
    void roundResult_data();
    void roundResult();
    void differenceWraps();
};

// clang-format off
void tst_Conversion::entryValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("value");
    // No number at the start reads as 0
    QTest::newRow("empty")          << ""         << true  << 0;
    QTest::newRow("letters")        << "abc"      << true  << 0;
    QTest::newRow("lone-minus")     << "-"        << true  << 0;
    QTest::newRow("lone-point")     << "."        << true  << 0;
    QTest::newRow("hex-prefix")     << "&H10"     << true  << 0;
    // The number at the start counts, the rest is ignored
    QTest::newRow("leading-blanks") << "  30"     << true  << 30;
    QTest::newRow("leading-tab")    << "\t30"     << true  << 30;
    // Pasted or set through accessibility: a line feed is skipped as a blank is
    QTest::newRow("leading-line-feed") << "\n30"  << true  << 30;
    QTest::newRow("trailing-text")  << "30abc"    << true  << 30;
    QTest::newRow("inner-blank")    << "1 2"      << true  << 1;
    QTest::newRow("comma")          << "1,5"      << true  << 1;
    QTest::newRow("plus-sign")      << "+42"      << true  << 42;
    QTest::newRow("d-exponent")     << "2d3"      << true  << 2;
    QTest::newRow("bare-exponent")  << "2e"       << true  << 2;
    QTest::newRow("signed-bare-exp") << "2e-x"    << true  << 2;
    QTest::newRow("exponent")       << "2e3"      << true  << 2000;
    QTest::newRow("exponent-upper") << "1E3"      << true  << 1000;
    QTest::newRow("negative-exp")   << "15e-1"    << true  << 1;
    QTest::newRow("leading-point")  << ".5e1"     << true  << 5;
    QTest::newRow("trailing-point") << "7."       << true  << 7;
    // Floor, not truncation
    QTest::newRow("fraction")       << "1.5"      << true  << 1;
    QTest::newRow("typed-decimals") << " 1500.7abc" << true << 1500;
    QTest::newRow("minus-half")     << "-0.5"     << true  << -1;
    QTest::newRow("minus-point-1")  << "-.1"      << true  << -1;
    QTest::newRow("tiny-negative")  << "-1e-400"  << true  << 0;
    // 16-bit range
    QTest::newRow("max")            << "32767"    << true  << 32767;
    QTest::newRow("max-fraction")   << "32767.9"  << true  << 32767;
    QTest::newRow("above-max")      << "32768"    << false << 0;
    QTest::newRow("min")            << "-32768"   << true  << -32768;
    QTest::newRow("below-min")      << "-32768.5" << false << 0;
    QTest::newRow("exp-overflow")   << "9e9"      << false << 0;
    QTest::newRow("double-overflow") << "1e400"   << false << 0;
    QTest::newRow("huge-exponent")  << "1e99999999999999999999" << false << 0;
    QTest::newRow("long-zeros")     << "0.000000000000000000000000000000000000001e40" << true << 10;
}
// clang-format on

void tst_Conversion::entryValue()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(int, value);
    const auto result = calc::entryValue(text.toStdString());
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), value);
}

void tst_Conversion::entryValueIgnoresLocale()
{
    // A German locale uses the comma as its decimal separator; the point must stay it.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QSKIP("no German locale on this machine");
    const auto value = calc::entryValue("1500.9");
    const auto comma = calc::entryValue("2,5");
    std::setlocale(LC_ALL, "C");
    QCOMPARE(int(value.value_or(0)), 1500);
    QCOMPARE(int(comma.value_or(0)), 2);
}

// clang-format off
void tst_Conversion::clampedEntryValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("inside")        << "1500.9" << 1500;
    QTest::newRow("above")         << "9e9"    << 32767;
    QTest::newRow("below")         << "-32769" << -32768;
    QTest::newRow("double-overflow") << "-1e999" << -32768;
}
// clang-format on

void tst_Conversion::clampedEntryValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(calc::clampedEntryValue(text.toStdString())), value);
}

// clang-format off
void tst_Conversion::numericPrefixLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::newRow("none")         << "abc"      << 0;
    QTest::newRow("lone-sign")    << " -"       << 0;
    QTest::newRow("whole")        << " -12.5e3" << 8;
    QTest::newRow("bare-exponent") << "12e+"    << 2;
    QTest::newRow("trailing")     << "7x"       << 1;
}
// clang-format on

void tst_Conversion::numericPrefixLength()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(int(calc::numericPrefixLength(text.toStdString())), length);
}

// clang-format off
void tst_Conversion::entryText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("negative") << -15    << "-15";
    QTest::newRow("zero")     << 0      << "0";
    QTest::newRow("rating")   << 1515   << "1515";
    QTest::newRow("min")      << -32768 << "-32768";
}
// clang-format on

void tst_Conversion::entryText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(calc::entryText(static_cast<std::int16_t>(value))), text);
}

// clang-format off
void tst_Conversion::roundResult_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("value");
    QTest::newRow("whole")          << 1515.0    << true  << 1515;
    QTest::newRow("just-below-half") << 1515.4999 << true << 1515;
    QTest::newRow("half-up")        << 1515.5    << true  << 1516;
    // Halves round up, not to even, also below zero
    QTest::newRow("half-not-even")  << 1514.5    << true  << 1515;
    QTest::newRow("minus-half")     << -0.5      << true  << 0;
    QTest::newRow("minus-2.5")      << -2.5      << true  << -2;
    QTest::newRow("typical")        << 1592.2076 << true  << 1592;
    // Both bounds of 16 bits
    QTest::newRow("max")            << 32766.5   << true  << 32767;
    QTest::newRow("above-max")      << 32767.5   << false << 0;
    QTest::newRow("min")            << -32768.5  << true  << -32768;
    QTest::newRow("below-min")      << -32769.0  << false << 0;
    QTest::newRow("not-a-number")   << std::nan("") << false << 0;
}
// clang-format on

void tst_Conversion::roundResult()
{
    QFETCH(double, x);
    QFETCH(bool, fits);
    QFETCH(int, value);
    const auto result = calc::roundResult(x);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), value);
}

void tst_Conversion::differenceWraps()
{
    QCOMPARE(int(calc::difference(1592, 1600)), -8);
    QCOMPARE(int(calc::difference(-32768, 1)), 32767);
}

QTEST_GUILESS_MAIN(tst_Conversion)
#include "tst_conversion.moc"
