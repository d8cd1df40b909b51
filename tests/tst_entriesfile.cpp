// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/entriesfile.h"
#include "tests/testfiles.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::optional<std::int16_t>)

namespace {

using Entry = std::optional<std::int16_t>;

Entry none()
{
    return std::nullopt;
}

Entry value(int v)
{
    return static_cast<std::int16_t>(v);
}

using testfiles::pathOf;
using testfiles::readAll;
using testfiles::writeAll;

} // namespace

class tst_EntriesFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void format_data();
    void format();
    void parse_data();
    void parse();
    void loadReadsTheStartOfTheFile_data();
    void loadReadsTheStartOfTheFile();
    void saveReplacesTheWholeFile();
    void exists();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString file() const { return m_dir->filePath("Ratinor.ini"); }
};

void tst_EntriesFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// clang-format off
void tst_EntriesFile::format_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("own");
    QTest::addColumn<int>("opponent");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("typical")  << 30 << 1500 << 1600 << QByteArray(" 30 \r\n 1500 \r\n 1600 \r\n");
    // A minus sign takes the place of the blank
    QTest::newRow("zero-and-negative") << 30 << 0 << -5 << QByteArray(" 30 \r\n 0 \r\n-5 \r\n");
    QTest::newRow("bounds")   << -32768 << 32767 << 1 << QByteArray("-32768 \r\n 32767 \r\n 1 \r\n");
}
// clang-format on

void tst_EntriesFile::format()
{
    QFETCH(int, k);
    QFETCH(int, own);
    QFETCH(int, opponent);
    QFETCH(QByteArray, bytes);
    const auto narrow = [](int v) { return static_cast<std::int16_t>(v); };
    QVERIFY(!storage::save(pathOf(file()), narrow(k), narrow(own), narrow(opponent)));
    QCOMPARE(readAll(file()), bytes);
    // What is written reads back the same
    const storage::StoredEntries back = storage::load(pathOf(file()));
    QCOMPARE(back.k, value(k));
    QCOMPARE(back.own, value(own));
    QCOMPARE(back.opponent, value(opponent));
}

// clang-format off
void tst_EntriesFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entry>("k");
    QTest::addColumn<Entry>("own");
    QTest::addColumn<Entry>("opponent");
    QTest::newRow("typical")       << QByteArray(" 25 \r\n 1700 \r\n 1650 \r\n") << value(25) << value(1700) << value(1650);
    QTest::newRow("negative")      << QByteArray("-5 \r\n 0 \r\n-32768 \r\n") << value(-5) << value(0) << value(-32768);
    // Blanks, CR and LF separate numbers alike; a comma ends one too
    QTest::newRow("lf-only")       << QByteArray("25\n1700\n1650") << value(25) << value(1700) << value(1650);
    QTest::newRow("one-line")      << QByteArray("25 1700   1650") << value(25) << value(1700) << value(1650);
    QTest::newRow("commas")        << QByteArray("25,1700 , 1650\r\n") << value(25) << value(1700) << value(1650);
    QTest::newRow("tabs")          << QByteArray("\t25\t\r\n1700\t,\t1650\t") << value(25) << value(1700) << value(1650);
    // An editor's UTF-8 byte-order mark shifts nothing
    QTest::newRow("bom")           << QByteArray("\xEF\xBB\xBF 25 \r\n 1700 \r\n 1650 \r\n") << value(25) << value(1700) << value(1650);
    QTest::newRow("bom-later")     << QByteArray(" 25 \xEF\xBB\xBF" "1700 1650") << value(25) << none() << value(1650);
    QTest::newRow("empty-field")   << QByteArray("25,,1650") << value(25) << none() << value(1650);
    QTest::newRow("fraction")      << QByteArray("1500.9 1 1") << value(1500) << value(1) << value(1);
    QTest::newRow("exponent")      << QByteArray("3e1 1 1") << value(30) << value(1) << value(1);
    // Each value that cannot be read is empty on its own
    QTest::newRow("empty")         << QByteArray() << none() << none() << none();
    QTest::newRow("short")         << QByteArray(" 25 \r\n") << value(25) << none() << none();
    QTest::newRow("text")          << QByteArray("abc 1700 1650") << none() << value(1700) << value(1650);
    QTest::newRow("trailing-text") << QByteArray("25x 1700 1650") << none() << value(1700) << value(1650);
    QTest::newRow("out-of-range")  << QByteArray("25 40000 -32769") << value(25) << none() << none();
    QTest::newRow("junk")          << QByteArray("\x00\xff\x01 7 \x80", 7) << none() << value(7) << none();
}
// clang-format on

void tst_EntriesFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entry, k);
    QFETCH(Entry, own);
    QFETCH(Entry, opponent);
    const storage::StoredEntries entries = storage::parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    QCOMPARE(entries.k, k);
    QCOMPARE(entries.own, own);
    QCOMPARE(entries.opponent, opponent);
}

// clang-format off
void tst_EntriesFile::loadReadsTheStartOfTheFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entry>("k");
    QTest::addColumn<Entry>("opponent");
    const QByteArray blanks(4090, ' ');
    QTest::newRow("typical")         << QByteArray(" 25 \r\n 1700 \r\n 1650 \r\n") << value(25) << value(1650);
    QTest::newRow("bom")             << QByteArray("\xEF\xBB\xBF 25 \r\n 1700 \r\n 1650 \r\n") << value(25) << value(1650);
    // Only the first 4 KiB are read: a number across that limit is unreadable, never cut short
    QTest::newRow("within-limit")    << blanks + "1 2 15\r\n" << value(1) << value(15);
    QTest::newRow("across-limit")    << blanks + "1 2 1500\r\n" << value(1) << none();
    QTest::newRow("ends-at-limit")   << blanks + "1 2 15" << value(1) << value(15);
    QTest::newRow("past-the-limit")  << blanks + "1 2   3" << value(1) << none();
}
// clang-format on

void tst_EntriesFile::loadReadsTheStartOfTheFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entry, k);
    QFETCH(Entry, opponent);
    QVERIFY(writeAll(file(), bytes));
    const storage::StoredEntries entries = storage::load(pathOf(file()));
    QCOMPARE(entries.k, k);
    QCOMPARE(entries.opponent, opponent);
}

void tst_EntriesFile::saveReplacesTheWholeFile()
{
    QVERIFY(writeAll(file(), QByteArray(100, '9')));
    QVERIFY(!storage::save(pathOf(file()), 25, 1700, 1650));
    QCOMPARE(readAll(file()), QByteArray(" 25 \r\n 1700 \r\n 1650 \r\n"));
    // No temporary file is left beside it
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {"Ratinor.ini"});
}

void tst_EntriesFile::exists()
{
    QVERIFY(!storage::exists(pathOf(file())));
    QVERIFY(QFile::link(m_dir->filePath("gone"), file()));
    QVERIFY(storage::exists(pathOf(file()))); // any entry of that name counts
    QVERIFY(QFile::remove(file()));
    QVERIFY(QDir(m_dir->path()).mkdir("Ratinor.ini"));
    QVERIFY(storage::exists(pathOf(file())));
}

QTEST_GUILESS_MAIN(tst_EntriesFile)
#include "tst_entriesfile.moc"
