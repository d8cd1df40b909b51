// SPDX-License-Identifier: GPL-3.0-or-later
// The box after a failed save, reached through "Ende".
#include "tests/mainwindowfixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

class tst_SaveFailureBox : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void saveFailureOffersAChoice();
    void saveFailureShowsNamesAsText();
    void saveFailureWrapsALongPath();

private:
    MainWindowFixture f;
};

void tst_SaveFailureBox::saveFailureOffersAChoice()
{
    QVERIFY(QDir::current().mkdir("Ratinor.ini"));
    f.enter("20", "1234", "1111");
    // Answers the message box once it is up: with a button's caption, or Enter when empty.
    const auto answer = [](const QString &button) {
        QTimer::singleShot(0, [button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->text(),
                     QStringLiteral("Die eingegebenen Werte konnten nicht in der "
                                    "Datei „%1“ gespeichert werden.")
                         .arg(QDir::current().absoluteFilePath("Ratinor.ini")));
            QVERIFY(box->informativeText().startsWith(
                "An ihrer Stelle steht ein Verzeichnis mit demselben Namen."));
            if (button.isEmpty())
                QTest::keyClick(box, Qt::Key_Return);
            for (QAbstractButton *choice : box->buttons()) {
                if (choice->text() == button)
                    choice->click();
            }
        });
    };
    // Enter answers "Zurück", which leaves everything as it was
    QSignalSpy ended(f.window.get(), &qt::frmHaupt::ended);
    answer(QString());
    QTest::keyClick(f.box("Kwert"), Qt::Key_Escape);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.window->isEnabled());
    QCOMPARE(f.box("Kwert")->text(), QStringLiteral("20"));
    QVERIFY(QFileInfo("Ratinor.ini").isDir());
    QCOMPARE(ended.count(), 0);
    // "Trotzdem beenden" ends
    answer("Trotzdem beenden");
    QTest::mouseClick(f.window->findChild<QPushButton *>("Ende"), Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!f.window->isVisible());
}

void tst_SaveFailureBox::saveFailureShowsNamesAsText()
{
    // A folder from an archive or a shared drive, named with markup that would load a file.
    const QString folder = f.dir->filePath("Verein <u>Nord</u> <img src=probe>");
    QVERIFY(QDir().mkpath(folder + "/Ratinor.ini"));
    QVERIFY(QDir::setCurrent(folder));
    QFile probe("probe");
    QVERIFY(probe.open(QIODevice::WriteOnly));
    probe.close();
    const int watch = ::inotify_init1(IN_NONBLOCK);
    QVERIFY(::inotify_add_watch(watch, "probe", IN_OPEN) >= 0);
    f.restart();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box && QTest::qWaitForWindowExposed(box));
        for (const QLabel *label : box->findChildren<QLabel *>()) {
            if (label->textFormat() == Qt::PlainText)
                shown += label->text();
        }
        box->reject();
    });
    QTest::keyClick(f.box("Kwert"), Qt::Key_Escape);
    QVERIFY(shown.remove(u'\n').contains(folder + "/Ratinor.ini")); // wrapped where long
    inotify_event event {};
    QCOMPARE(::read(watch, &event, sizeof event), -1); // the probe was never opened
    ::close(watch);
}

void tst_SaveFailureBox::saveFailureWrapsALongPath()
{
    // A folder name of 150 letters without a blank, as archives and clubs' drives make them.
    const QString folder = f.dir->filePath(QString(150, u'x'));
    QVERIFY(QDir().mkpath(folder + "/Ratinor.ini"));
    QVERIFY(QDir::setCurrent(folder));
    f.restart();
    QString shown;
    int widest = 0; // the widest run that the label cannot break at a blank
    int room = 0;
    bool onScreen = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !QTest::qWaitForWindowExposed(box))
            return;
        onScreen = box->screen()->availableGeometry().contains(box->frameGeometry());
        if (const auto *label = box->findChild<QLabel *>("qt_msgbox_label")) {
            shown = label->text();
            room = label->contentsRect().width();
            for (const QString &line : shown.split(u'\n'))
                for (const QString &run : line.split(u' '))
                    widest = std::max(widest, label->fontMetrics().horizontalAdvance(run));
        }
        box->reject();
    });
    QTest::keyClick(f.box("Kwert"), Qt::Key_Escape);
    QVERIFY(onScreen);
    QVERIFY2(widest <= room, qPrintable(QStringLiteral("%1 > %2").arg(widest).arg(room)));
    QVERIFY(shown.remove(u'\n').contains(folder + "/Ratinor.ini")); // the whole path
}

QTEST_MAIN(tst_SaveFailureBox)
#include "tst_savefailurebox.moc"
