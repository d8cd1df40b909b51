// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows' handlers without a toolkit: every step they take, in its order.
#include "tests/recordingview.h"
#include "tests/testfiles.h"
#include "windows/fehler.h"
#include "windows/frmhaupt.h"
#include "windows/hilfe.h"

#include <QtTest>

Q_DECLARE_METATYPE(SaveFailureChoice)

namespace {

// Runs the handler wired to a control's click.
void click(frmHaupt &window, const QString &control)
{
    for (const auto &[name, handler] : frmHaupt::clicks) {
        if (QString::fromUtf8(name) == control)
            return (window.*handler)();
    }
    QFAIL(qPrintable("no handler for " + control));
}

void enter(RecordingView &view, const QStringList &entries)
{
    view.texts[Box::Kwert] = entries[0].toStdString();
    view.texts[Box::eigeneElo] = entries[1].toStdString();
    view.texts[Box::GegnerElo] = entries[2].toStdString();
    view.steps.clear();
}

const std::initializer_list<Box> entryBoxes = {Box::Kwert, Box::eigeneElo, Box::GegnerElo};
const std::initializer_list<Box> resultBoxes = {Box::EigeneElodanach, Box::EigeneELOdifferenz,
                                                Box::GegnerElodanach, Box::GegnerELOdifferenz};

} // namespace

class tst_frmHaupt : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void formLoad_data();
    void formLoad();
    void formLoadStartsWithAWin();
    void rechnen_data();
    void rechnen();
    void stepOrders_data();
    void stepOrders();
    void endSavesAsTyped_data();
    void endSavesAsTyped();
    void endAfterAFailedSave_data();
    void endAfterAFailedSave();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_frmHaupt::init()
{
    // The entries file lives in the working directory: a fresh one for each test.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

// clang-format off
void tst_frmHaupt::formLoad_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no entries file
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("first-start") << QByteArray() << QStringList{"30", "0", "0"};
    QTest::newRow("saved")       << QByteArray(" 25 \r\n 1700 \r\n 1650 \r\n") << QStringList{"25", "1700", "1650"};
    // Values the typed limits would not allow are shown whole
    QTest::newRow("long")        << QByteArray(" 100 \r\n-1000 \r\n 32767 \r\n") << QStringList{"100", "-1000", "32767"};
    // Each value that cannot be read takes its start default
    QTest::newRow("short")       << QByteArray(" 25 \r\n") << QStringList{"25", "0", "0"};
    QTest::newRow("garbled")     << QByteArray("x\r\n 40000 \r\n 1650 \r\n") << QStringList{"30", "0", "1650"};
    QTest::newRow("directory")   << QByteArray("<dir>") << QStringList{"30", "0", "0"};
}
// clang-format on

void tst_frmHaupt::formLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    if (bytes == "<dir>")
        QVERIFY(QDir::current().mkdir("Ratinor.ini"));
    else if (!bytes.isNull())
        QVERIFY(testfiles::writeAll("Ratinor.ini", bytes));
    RecordingView view;
    frmHaupt window(view);
    window.Form_Load();
    // The three input boxes and nothing else; the result boxes stay empty
    QCOMPARE(view.steps,
             (QStringList {"text Kwert " + entries[0], "text eigeneElo " + entries[1],
                           "text GegnerElo " + entries[2]}));
}

void tst_frmHaupt::formLoadStartsWithAWin()
{
    // Saved after "Verloren": the start is a win all the same.
    RecordingView view;
    frmHaupt window(view);
    window.optVerloren_Click();
    window.Form_Load();
    enter(view, {"30", "1500", "1500"});
    window.Berechnen_Click();
    QCOMPARE(view.shown(resultBoxes), (QStringList {"1515", "15", "1485", "-15"}));
}

// clang-format off
void tst_frmHaupt::rechnen_data()
{
    QTest::addColumn<QString>("control"); // what is clicked: its score, or the one before
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("entries"); // as the boxes show them afterwards
    QTest::addColumn<QStringList>("focus");   // every focus step, in order
    QTest::addColumn<QStringList>("results"); // empty: the error window
    const QStringList none;
    // Equal ratings: the three results; "Neue ELO Berechnen" keeps the score, 1 at first
    QTest::newRow("equal-won")   << "Berechnen" << QStringList{"30", "1500", "1500"} << QStringList{"30", "1500", "1500"} << none << QStringList{"1515", "15", "1485", "-15"};
    QTest::newRow("equal-draw")  << "optUnentschieden" << QStringList{"30", "1500", "1500"} << QStringList{"30", "1500", "1500"} << none << QStringList{"1500", "0", "1500", "0"};
    QTest::newRow("equal-lost")  << "optVerloren" << QStringList{"30", "1500", "1500"} << QStringList{"30", "1500", "1500"} << none << QStringList{"1485", "-15", "1515", "15"};
    // The stronger player
    QTest::newRow("strong-won")  << "optGewonnen" << QStringList{"30", "1600", "1400"} << QStringList{"30", "1600", "1400"} << none << QStringList{"1607", "7", "1393", "-7"};
    QTest::newRow("strong-draw") << "optUnentschieden" << QStringList{"30", "1600", "1400"} << QStringList{"30", "1600", "1400"} << none << QStringList{"1592", "-8", "1408", "8"};
    QTest::newRow("strong-lost") << "optVerloren" << QStringList{"30", "1600", "1400"} << QStringList{"30", "1600", "1400"} << none << QStringList{"1577", "-23", "1423", "23"};
    QTest::newRow("far-apart")   << "optVerloren" << QStringList{"30", "2000", "1000"} << QStringList{"30", "2000", "1000"} << none << QStringList{"1970", "-30", "1030", "30"};
    // The weaker player wins
    QTest::newRow("upset")       << "Berechnen" << QStringList{"30", "1500", "1520"} << QStringList{"30", "1500", "1520"} << none << QStringList{"1516", "16", "1504", "-16"};
    QTest::newRow("k15")         << "Berechnen" << QStringList{"15", "2100", "2300"} << QStringList{"15", "2100", "2300"} << none << QStringList{"2111", "11", "2289", "-11"};
    // Both sides round half up on their own: the changes do not cancel
    QTest::newRow("ones")        << "Berechnen" << QStringList{"1", "1", "1"} << QStringList{"1", "1", "1"} << none << QStringList{"2", "1", "1", "0"};
    // Each entry is shown as its integer from then on
    QTest::newRow("normalised")  << "Berechnen" << QStringList{"30", "15.7", "1e3"} << QStringList{"30", "15", "1000"} << none << QStringList{"45", "30", "970", "-30"};
    // Less than 1: the focus goes to own, then opponent, then K, and the last one stays
    QTest::newRow("first-start")      << "Berechnen" << QStringList{"30", "0", "0"} << QStringList{"30", "0", "0"} << QStringList{"eigeneElo", "GegnerElo"} << none;
    QTest::newRow("k-and-opp")        << "Berechnen" << QStringList{"0", "1500", "0"} << QStringList{"0", "1500", "0"} << QStringList{"GegnerElo", "Kwert"} << none;
    QTest::newRow("own-letters")      << "optUnentschieden" << QStringList{"30", "abc", "1500"} << QStringList{"30", "0", "1500"} << QStringList{"eigeneElo"} << none;
    QTest::newRow("negative-k")       << "Berechnen" << QStringList{"-3", "1500", "1500"} << QStringList{"-3", "1500", "1500"} << QStringList{"Kwert"} << none;
    QTest::newRow("fraction-below-1") << "Berechnen" << QStringList{"30", "0.9", "1500"} << QStringList{"30", "0", "1500"} << QStringList{"eigeneElo"} << none;
    // Outside 16 bits: invalid too, and the box keeps what was typed
    QTest::newRow("own-overflow")     << "Berechnen" << QStringList{"30", "9e9", "15.7"} << QStringList{"30", "9e9", "15"} << QStringList{"eigeneElo"} << none;
    QTest::newRow("k-overflow")       << "Berechnen" << QStringList{"1e5", "1x", "1500.5"} << QStringList{"1e5", "1", "1500"} << QStringList{"Kwert"} << none;
    QTest::newRow("opp-over-own-0")   << "Berechnen" << QStringList{"30", "0", "-4e4"} << QStringList{"30", "0", "-4e4"} << QStringList{"eigeneElo", "GegnerElo"} << none;
    // A new rating beyond 16 bits (entries from the file are not length-limited): no focus
    QTest::newRow("result-overflow")  << "Berechnen" << QStringList{"32767", "32767", "32767"} << QStringList{"32767", "32767", "32767"} << none << none;
}
// clang-format on

void tst_frmHaupt::rechnen()
{
    QFETCH(QString, control);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, focus);
    QFETCH(QStringList, results);
    RecordingView view;
    frmHaupt window(view);
    // Results of an earlier calculation stay when the next one is refused.
    enter(view, {"30", "1600", "1400"});
    window.optGewonnen_Click();
    const QStringList before = view.shown(resultBoxes);

    enter(view, typed);
    click(window, control);
    QCOMPARE(view.shown(entryBoxes), entries);
    QStringList focusSteps = view.flow().filter(QRegularExpression("^focus "));
    focusSteps.replaceInStrings("focus ", "");
    QCOMPARE(focusSteps, focus);
    if (results.isEmpty()) {
        QCOMPARE(view.shown(resultBoxes), before);
        QCOMPARE(view.flow().mid(focus.size()), (QStringList {"disable frmHaupt", "show Fehler"}));
    } else {
        QCOMPARE(view.shown(resultBoxes), results);
        QCOMPARE(view.flow(), QStringList());
    }
}

// clang-format off
void tst_frmHaupt::stepOrders_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QStringList>("opening");
    QTest::addColumn<QStringList>("closing");
    // The error window: disable, then show; OK: hide, show the main window, then enable it
    QTest::newRow("Fehler") << "Berechnen"
        << QStringList{"focus eigeneElo", "focus GegnerElo", "disable frmHaupt", "show Fehler"}
        << QStringList{"hide Fehler", "show frmHaupt", "enable frmHaupt"};
    // The help window: show, then disable; OK: hide, enable the main window, then show it
    QTest::newRow("Hilfe") << "cmdHilfe"
        << QStringList{"show Hilfe", "disable frmHaupt"}
        << QStringList{"hide Hilfe", "enable frmHaupt", "show frmHaupt"};
}
// clang-format on

void tst_frmHaupt::stepOrders()
{
    QFETCH(QString, opener);
    QFETCH(QStringList, opening);
    QFETCH(QStringList, closing);
    RecordingView view;
    frmHaupt window(view);
    window.Form_Load(); // 30, 0, 0: "Neue ELO Berechnen" finds the ratings out of range
    for (int time = 0; time < 2; ++time) { // shown again, the same way
        view.steps.clear();
        click(window, opener);
        QCOMPARE(view.flow(), opening);
        view.steps.clear();
        if (opener == "cmdHilfe")
            Hilfe(view).cmdFehlerOK_Click();
        else
            Fehler(view).cmdFehlerOK_Click();
        QCOMPARE(view.steps, closing);
    }
}

// clang-format off
void tst_frmHaupt::endSavesAsTyped_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("typical")  << QStringList{"30", "1500", "1600"} << QByteArray(" 30 \r\n 1500 \r\n 1600 \r\n");
    // Not checked, not normalised in the boxes
    QTest::newRow("unchecked") << QStringList{"30", "abc", "-5"} << QByteArray(" 30 \r\n 0 \r\n-5 \r\n");
    QTest::newRow("fraction")  << QStringList{"30", "1500", "1.9"} << QByteArray(" 30 \r\n 1500 \r\n 1 \r\n");
    // Rounded down, not towards zero
    QTest::newRow("negative-fraction") << QStringList{"30", "-1.5", "-0.5"} << QByteArray(" 30 \r\n-2 \r\n-1 \r\n");
    // Beyond 16 bits: the nearest bound
    QTest::newRow("overflow")  << QStringList{"30", "9e9", "-9e9"} << QByteArray(" 30 \r\n 32767 \r\n-32768 \r\n");
}
// clang-format on

void tst_frmHaupt::endSavesAsTyped()
{
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, bytes);
    RecordingView view;
    frmHaupt window(view);
    enter(view, entries);
    window.Ende_Click();
    QCOMPARE(view.steps, QStringList {"end"});
    QCOMPARE(testfiles::readAll("Ratinor.ini"), bytes);
}

void tst_frmHaupt::endAfterAFailedSave_data()
{
    QTest::addColumn<SaveFailureChoice>("answer");
    QTest::addColumn<QStringList>("steps");
    // "Zurück" leaves everything as it was
    QTest::newRow("back") << SaveFailureChoice::Back << QStringList {"ask"};
    QTest::newRow("end-anyway") << SaveFailureChoice::EndAnyway << QStringList {"ask", "end"};
}

void tst_frmHaupt::endAfterAFailedSave()
{
    QFETCH(SaveFailureChoice, answer);
    QFETCH(QStringList, steps);
    QVERIFY(QDir::current().mkdir("Ratinor.ini"));
    RecordingView view;
    frmHaupt window(view);
    view.answer = answer;
    enter(view, {"20", "1234", "1111"});
    window.Ende_Click();
    QCOMPARE(view.steps, steps);
    QVERIFY(view.asked);
    // Named by its whole path, as it was when the program started
    QCOMPARE(QString::fromStdString(view.asked->path),
             QDir::current().absoluteFilePath("Ratinor.ini"));
    QVERIFY(view.asked->reason.starts_with("An ihrer Stelle steht ein Verzeichnis"));
    QVERIFY(QFileInfo("Ratinor.ini").isDir());
}

QTEST_GUILESS_MAIN(tst_frmHaupt)
#include "tst_frmhaupt.moc"
