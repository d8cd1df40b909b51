// SPDX-License-Identifier: GPL-3.0-or-later
// The main window kept modal by hand while the error or the help window is shown: what
// Qt adds to the handlers' steps (the disabled window, the focus, activation, keys).
#include "tests/mainwindowfixture.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

class tst_ModalFlow : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void errorFlow_data();
    void errorFlow();
    void errorTwiceInARow();
    void helpFlow();
    void activatingTheDisabledWindowBringsTheDialog_data();
    void activatingTheDisabledWindowBringsTheDialog();

private:
    MainWindowFixture f;
};

// clang-format off
void tst_ModalFlow::errorFlow_data()
{
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("opponent");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("focus");
    QTest::newRow("first-start")  << "30" << "0"    << "0"    << QStringList{"30", "0", "0"}      << "GegnerElo";
    QTest::newRow("k-and-opp")    << "0"  << "1500" << "0"    << QStringList{"0", "1500", "0"}    << "Kwert";
}
// clang-format on

void tst_ModalFlow::errorFlow()
{
    QFETCH(QString, k);
    QFETCH(QString, own);
    QFETCH(QString, opponent);
    QFETCH(QStringList, shown);
    QFETCH(QString, focus);
    // Results of an earlier calculation stay when the next one is refused.
    f.enter("30", "1600", "1400");
    QTest::mouseClick(f.window->findChild<QRadioButton *>("optUnentschieden"), Qt::LeftButton);
    const QStringList before = f.outputs();

    f.enter(k, own, opponent);
    QTest::keyClick(f.box("Kwert"), Qt::Key_Return);
    QCOMPARE((QStringList {f.box("Kwert")->text(), f.box("eigeneElo")->text(),
                           f.box("GegnerElo")->text()}),
             shown);
    QCOMPARE(f.outputs(), before);
    QVERIFY(!f.window->isEnabled());
    QWidget *error = visibleTopLevel("Fehler");
    QVERIFY(error);
    QVERIFY(QTest::qWaitForWindowActive(error));

    // While the error window is up, the main window does not react.
    QTest::mouseClick(f.window->findChild<QRadioButton *>("optGewonnen"), Qt::LeftButton);
    QVERIFY(f.window->findChild<QRadioButton *>("optUnentschieden")->isChecked());

    QTest::keyClick(error, Qt::Key_Return);
    QVERIFY(!error->isVisible());
    QVERIFY(f.window->isEnabled());
    QVERIFY(f.window->focusWidget());
    QCOMPARE(f.window->focusWidget()->objectName(), focus);
}

void tst_ModalFlow::errorTwiceInARow()
{
    QTest::mouseClick(f.window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QWidget *first = visibleTopLevel("Fehler");
    QVERIFY(first);
    QTest::mouseClick(first->findChild<QPushButton *>("cmdFehlerOK"), Qt::LeftButton);
    QVERIFY(f.window->isEnabled());
    QTest::mouseClick(f.window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(visibleTopLevel("Fehler"), first); // the same window, shown again
    QVERIFY(!f.window->isEnabled());
    first->close(); // the window manager's close acts as OK
    QVERIFY(!first->isVisible());
    QVERIFY(f.window->isEnabled());
}

void tst_ModalFlow::helpFlow()
{
    auto *help = f.window->findChild<QPushButton *>("cmdHilfe");
    QTest::mouseClick(help, Qt::LeftButton);
    QWidget *window = visibleTopLevel("Hilfe");
    QVERIFY(window);
    QVERIFY(!f.window->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape); // no cancel button: Esc does nothing
    QVERIFY(window->isVisible());
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(!window->isVisible());
    QVERIFY(f.window->isEnabled());
    QCOMPARE(f.window->focusWidget(), help);

    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(visibleTopLevel("Hilfe"), window);
    window->close(); // the window manager's close acts as OK
    QVERIFY(f.window->isEnabled());
}

// clang-format off
void tst_ModalFlow::activatingTheDisabledWindowBringsTheDialog_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("error") << "Berechnen" << "Fehler"; // 30, 0, 0 are out of range
    QTest::newRow("help")  << "cmdHilfe"  << "Hilfe";
}
// clang-format on

void tst_ModalFlow::activatingTheDisabledWindowBringsTheDialog()
{
    QFETCH(QString, opener);
    QFETCH(QString, dialog);
    QTest::mouseClick(f.window->findChild<QPushButton *>(opener), Qt::LeftButton);
    QWidget *shown = visibleTopLevel(dialog);
    QVERIFY(shown);
    QTRY_COMPARE(QApplication::activeWindow(), shown);
    // A click on the main window, or the task bar, activates it all the same
    QSignalSpy activated(qApp, &QGuiApplication::focusWindowChanged);
    f.window->activateWindow();
    QTRY_COMPARE(activated.count(), 2);
    QCOMPARE(activated.first().first().value<QWindow *>(), f.window->windowHandle());
    QCOMPARE(QApplication::activeWindow(), shown); // the dialog is back in front
    // Where the window system keeps the keyboard with the main window, Enter still reaches
    // the dialog's OK
    QTest::keyClick(f.window.get(), Qt::Key_Return);
    QVERIFY(!shown->isVisible());
    QVERIFY(f.window->isEnabled());
}

QTEST_MAIN(tst_ModalFlow)
#include "tst_modalflow.moc"
