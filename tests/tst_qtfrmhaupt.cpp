// SPDX-License-Identifier: GPL-3.0-or-later
// What the Qt front end adds to the main window: its widgets, keys, focus and modality.
#include "app/startup.h"
#include "tests/mainwindowfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QString captionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    return {};
}

} // namespace

class tst_QtFrmHaupt : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(installGermanQtTexts()); } // as the program does
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void controls_data();
    void controls();
    void accessibleNames();
    void optionToolTips_data();
    void optionToolTips();
    void tabOrder_data();
    void tabOrder();
    void arrowsMoveWithinTheOptions();
    void startsReady();
    void optionCheckedWithoutAClickCalculates();
    void clickOnTheCheckedOptionCalculates();
    void contextMenuIsGerman();
    void enterInABoxCalculates();
    void enterOnAnotherButtonPressesIt();
    void escapeEnds();
    void windowManagerCloseEnds();

private:
    MainWindowFixture f;
};

// clang-format off
void tst_QtFrmHaupt::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("rightAligned");
    QTest::newRow("Label6")             << "Label6" << "QLabel" << "\"K\" festlegen" << QRect(8, 8, 73, 17) << false;
    QTest::newRow("Kwert")              << "Kwert" << "qt::EntryBox" << "30" << QRect(88, 8, 33, 25) << true;
    QTest::newRow("cmdHilfe")           << "cmdHilfe" << "QPushButton" << "Hilfe" << QRect(128, 8, 73, 25) << false;
    QTest::newRow("Label1")             << "Label1" << "QLabel" << "Eigene ELO" << QRect(8, 40, 81, 17) << false;
    QTest::newRow("eigeneElo")          << "eigeneElo" << "qt::EntryBox" << "0" << QRect(88, 40, 33, 25) << true;
    QTest::newRow("EigeneElodanach")    << "EigeneElodanach" << "qt::EntryBox" << "" << QRect(128, 40, 33, 25) << true;
    QTest::newRow("EigeneELOdifferenz") << "EigeneELOdifferenz" << "qt::EntryBox" << "" << QRect(168, 40, 33, 25) << true;
    QTest::newRow("Label2")             << "Label2" << "QLabel" << "Gegner ELO" << QRect(8, 72, 73, 17) << false;
    QTest::newRow("GegnerElo")          << "GegnerElo" << "qt::EntryBox" << "0" << QRect(88, 72, 33, 25) << true;
    QTest::newRow("GegnerElodanach")    << "GegnerElodanach" << "qt::EntryBox" << "" << QRect(128, 72, 33, 25) << true;
    QTest::newRow("GegnerELOdifferenz") << "GegnerELOdifferenz" << "qt::EntryBox" << "" << QRect(168, 72, 33, 25) << true;
    QTest::newRow("Frame1")             << "Frame1" << "qt::ClassicFrame" << "Ergebnis" << QRect(8, 104, 113, 89) << false;
    // The options count from the frame's corner, and reach to its border on the right
    QTest::newRow("optGewonnen")        << "optGewonnen" << "QRadioButton" << "Gewonnen" << QRect(8, 16, 101, 17) << false;
    QTest::newRow("optUnentschieden")   << "optUnentschieden" << "QRadioButton" << "Unentschieden" << QRect(8, 40, 101, 17) << false;
    QTest::newRow("optVerloren")        << "optVerloren" << "QRadioButton" << "Verloren" << QRect(8, 64, 101, 17) << false;
    // The caption wraps at its blank, inside the button
    QTest::newRow("Berechnen")          << "Berechnen" << "QPushButton" << "Neue ELO\nBerechnen" << QRect(128, 104, 73, 41) << false;
    QTest::newRow("Ende")               << "Ende" << "QPushButton" << "Ende" << QRect(128, 152, 73, 41) << false;
}
// clang-format on

void tst_QtFrmHaupt::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, rect);
    QFETCH(bool, rightAligned);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ratinor 1.2"));
    QCOMPARE(f.window->size(), QSize(210, 200));
    const auto *control = f.window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QCOMPARE(captionOf(control), caption);
    QCOMPARE(control->geometry(), rect);
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        QCOMPARE(bool(edit->alignment() & Qt::AlignRight), rightAligned);
}

void tst_QtFrmHaupt::accessibleNames()
{
    const QStringList expected {
        "K-Wert",     "Eigene ELO",        "Eigene ELO danach",   "Eigene ELO Differenz",
        "Gegner ELO", "Gegner ELO danach", "Gegner ELO Differenz"};
    const char *names[] = {
        "Kwert",     "eigeneElo",       "EigeneElodanach",   "EigeneELOdifferenz",
        "GegnerElo", "GegnerElodanach", "GegnerELOdifferenz"};
    QStringList actual;
    for (const char *name : names)
        actual << f.box(name)->accessibleName();
    QCOMPARE(actual, expected);
    QCOMPARE(f.window->findChild<QLabel *>("Label6")->buddy(), f.box("Kwert"));
    QCOMPARE(f.window->findChild<QLabel *>("Label2")->buddy(), f.box("GegnerElo"));
    QCOMPARE(f.window->findChild<QPushButton *>("Berechnen")->accessibleName(),
             QStringLiteral("Neue ELO Berechnen"));
}

// clang-format off
void tst_QtFrmHaupt::optionToolTips_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("toolTip");
    // Word for word: "sie" in the first, "Sie" in the last; only the middle one ends with a stop
    QTest::newRow("won")  << "optGewonnen"      << "Klicken Sie hier, wenn sie das Spiel gewonnen haben";
    QTest::newRow("draw") << "optUnentschieden" << "Klicken Sie hier, wenn das Spiel unentschieden geendet hat.";
    QTest::newRow("lost") << "optVerloren"      << "Klicken Sie hier, wenn Sie das Spiel verloren haben";
}
// clang-format on

void tst_QtFrmHaupt::optionToolTips()
{
    QFETCH(QString, option);
    QFETCH(QString, toolTip);
    QCOMPARE(f.window->findChild<QRadioButton *>(option)->toolTip(), toolTip);
}

// clang-format off
void tst_QtFrmHaupt::tabOrder_data()
{
    QTest::addColumn<QString>("checked"); // the option selected first
    QTest::addColumn<bool>("backwards");  // Shift+Tab
    QTest::addColumn<QStringList>("visited");
    const QStringList boxes {"Kwert", "eigeneElo", "GegnerElo", "Berechnen", "Ende",
                             "EigeneElodanach", "EigeneELOdifferenz", "GegnerElodanach",
                             "GegnerELOdifferenz", "cmdHilfe"};
    QStringList back = boxes;
    std::reverse(back.begin() + 1, back.end());
    // The option group takes one stop, at its selected button; then the cycle starts again
    QTest::newRow("forward")        << "optGewonnen" << false << boxes + QStringList {"optGewonnen", "Kwert"};
    QTest::newRow("backward")       << "optGewonnen" << true  << QStringList {"Kwert", "optGewonnen"} + back.mid(1) + QStringList {"Kwert"};
    QTest::newRow("forward-lost")   << "optVerloren" << false << boxes + QStringList {"optVerloren", "Kwert"};
    QTest::newRow("backward-draw")  << "optUnentschieden" << true << QStringList {"Kwert", "optUnentschieden"} + back.mid(1) + QStringList {"Kwert"};
}
// clang-format on

void tst_QtFrmHaupt::tabOrder()
{
    QFETCH(QString, checked);
    QFETCH(bool, backwards);
    QFETCH(QStringList, visited);
    f.enter("30", "1500", "1500");
    f.window->findChild<QRadioButton *>(checked)->setChecked(true);
    f.box("Kwert")->setFocus();
    QStringList actual;
    QWidget *focus = QApplication::focusWidget();
    for (qsizetype i = 0; i < visited.size() && focus; ++i) {
        actual << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        focus = QApplication::focusWidget();
    }
    QCOMPARE(actual, visited);
}

void tst_QtFrmHaupt::arrowsMoveWithinTheOptions()
{
    f.enter("30", "1600", "1400");
    auto *won = f.window->findChild<QRadioButton *>("optGewonnen");
    won->setFocus();
    QTest::keyClick(won, Qt::Key_Down);
    auto *draw = f.window->findChild<QRadioButton *>("optUnentschieden");
    QCOMPARE(QApplication::focusWidget(), draw);
    QVERIFY(draw->isChecked());
    QCOMPARE(f.box("EigeneElodanach")->text(), QStringLiteral("1592"));
}

void tst_QtFrmHaupt::startsReady()
{
    QVERIFY(f.window->isEnabled());
    QVERIFY(f.window->findChild<QRadioButton *>("optGewonnen")->isChecked());
    QCOMPARE(QApplication::focusWidget(), f.box("Kwert"));
    QVERIFY(!f.window->windowIcon().isNull());
    // A title bar without close, minimise and maximise buttons
    QCOMPARE(
        f.window->windowFlags()
            & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint),
        Qt::WindowFlags());
    QCOMPARE(f.outputs(), (QStringList {"", "", "", ""}));
    // The score starts at 1: "Neue ELO Berechnen" calculates a win.
    f.enter("30", "1500", "1500");
    QTest::mouseClick(f.window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(f.outputs(), (QStringList {"1515", "15", "1485", "-15"}));
}

void tst_QtFrmHaupt::optionCheckedWithoutAClickCalculates()
{
    // A screen reader's toggle action checks the option without a click.
    f.enter("30", "1600", "1400");
    f.window->findChild<QRadioButton *>("optUnentschieden")->toggle();
    QCOMPARE(f.outputs(), (QStringList {"1592", "-8", "1408", "8"}));
    // The score follows the checked option for the next calculation too
    QTest::mouseClick(f.window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(f.outputs(), (QStringList {"1592", "-8", "1408", "8"}));
}

void tst_QtFrmHaupt::clickOnTheCheckedOptionCalculates()
{
    f.enter("30", "1600", "1400");
    auto *won = f.window->findChild<QRadioButton *>("optGewonnen");
    QVERIFY(won->isChecked());
    QTest::mouseClick(won, Qt::LeftButton);
    QCOMPARE(f.outputs(), (QStringList {"1607", "7", "1393", "-7"}));
}

void tst_QtFrmHaupt::contextMenuIsGerman()
{
    std::unique_ptr<QMenu> menu(f.box("Kwert")->createStandardContextMenu());
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("&Rückgängig\tStrg+Z"));
}

void tst_QtFrmHaupt::enterInABoxCalculates()
{
    f.enter("30", "1500", "1520");
    f.box("GegnerElo")->setFocus();
    QTest::keyClick(f.box("GegnerElo"), Qt::Key_Return);
    QCOMPARE(f.outputs(), (QStringList {"1516", "16", "1504", "-16"}));
    // Enter on a focused option button calculates too
    f.enter("15", "2100", "2300");
    auto *won = f.window->findChild<QRadioButton *>("optGewonnen");
    won->setFocus();
    QTest::keyClick(won, Qt::Key_Enter);
    QCOMPARE(f.outputs(), (QStringList {"2111", "11", "2289", "-11"}));
}

void tst_QtFrmHaupt::enterOnAnotherButtonPressesIt()
{
    auto *help = f.window->findChild<QPushButton *>("cmdHilfe");
    help->setFocus();
    QTest::keyClick(help, Qt::Key_Return);
    QVERIFY(visibleTopLevel("Hilfe"));
    QCOMPARE(f.outputs(), (QStringList {"", "", "", ""}));
}

void tst_QtFrmHaupt::escapeEnds()
{
    QSignalSpy ended(f.window.get(), &qt::frmHaupt::ended);
    QTest::keyClick(f.box("eigeneElo"), Qt::Key_Escape);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!f.window->isVisible());
    QVERIFY(QFile::exists("Ratinor.ini"));
}

void tst_QtFrmHaupt::windowManagerCloseEnds()
{
    QSignalSpy ended(f.window.get(), &qt::frmHaupt::ended);
    QVERIFY(f.window->close());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!f.window->isVisible());
    QVERIFY(!QFile::exists("Ratinor.ini"));
}

QTEST_MAIN(tst_QtFrmHaupt)
#include "tst_qtfrmhaupt.moc"
