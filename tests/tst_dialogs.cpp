// SPDX-License-Identifier: GPL-3.0-or-later
// The error and help windows as the Qt front end builds them.
#include "tests/mainwindowfixture.h"
#include "windows/qt/face.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

class tst_Dialogs : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void controls_data();
    void controls();
    void windows_data();
    void windows();
    void helpText();
    void helpTextIsShownWhole();
    void helpTextWrapsAtBlanksOnly();
    void helpOpensWithTheFocusInItsText();

private:
    // The dialog, created on first use as the handlers would.
    QDialog *dialog(const QString &name) const
    {
        f.window->show(name == "Fehler" ? Window::Fehler : Window::Hilfe);
        return qobject_cast<QDialog *>(visibleTopLevel(name));
    }
    QDialog *help() const { return dialog(QStringLiteral("Hilfe")); }

    MainWindowFixture f;
};

// clang-format off
void tst_Dialogs::controls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("Fehler-Label1") << "Fehler" << "Label1"
        << "Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! Die ELO-Scores und der "
           "K-Wert müssen positiv und ungleich null sein!" << QRect(8, 8, 161, 73);
    QTest::newRow("Fehler-OK") << "Fehler" << "cmdFehlerOK" << "OK" << QRect(40, 96, 97, 25);
    QTest::newRow("Hilfe-Label1") << "Hilfe" << "Label1" << "Ratinor 1.2" << QRect(8, 8, 201, 25);
    QTest::newRow("Hilfe-Text1") << "Hilfe" << "Text1" << "" << QRect(8, 40, 201, 217);
    QTest::newRow("Hilfe-OK") << "Hilfe" << "cmdFehlerOK" << "OK" << QRect(64, 264, 89, 33);
}
// clang-format on

void tst_Dialogs::controls()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, rect);
    const QWidget *control = dialog(window)->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        QCOMPARE(label->text().replace(u'\n', u' '), caption);
        // Its lines break at blanks only, and each fits the label
        for (const QString &line : label->text().split(u'\n')) {
            QVERIFY2(!line.endsWith(u'-'), qPrintable(line));
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->width(),
                     qPrintable(line));
        }
    }
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(button->isDefault());
    }
}

// clang-format off
void tst_Dialogs::windows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<bool>("hasCloseButton");
    QTest::newRow("Fehler") << "Fehler" << "Wert außerhalb des erlaubten Bereichs" << QSize(177, 133) << true << false;
    QTest::newRow("Hilfe")  << "Hilfe" << "Ratinor 1.2 - Hilfe" << QSize(215, 305) << false << true;
}
// clang-format on

void tst_Dialogs::windows()
{
    QFETCH(QString, window);
    QFETCH(QString, title);
    QFETCH(QSize, size);
    QFETCH(bool, hasIcon);
    QFETCH(bool, hasCloseButton);
    const QDialog *shown = dialog(window);
    QCOMPARE(shown->windowTitle(), title);
    QCOMPARE(shown->minimumSize(), size);
    QCOMPARE(shown->maximumSize(), size);
    QCOMPARE(!shown->windowIcon().isNull(), hasIcon);
    QCOMPARE(bool(shown->windowFlags() & Qt::WindowCloseButtonHint), hasCloseButton);
    QVERIFY(
        !(shown->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Owned by the main window, so the window system keeps it above that and places it there
    QCOMPARE(shown->parentWidget(), f.window.get());
}

void tst_Dialogs::helpText()
{
    const QStringList lines {
        "Dieses Programm berechnet die neue ",
        "ELO-Score nach dem aktuellen ",
        "Punktestand der Spielparteien. Der K-",
        "Wert sollte 30 betragen. Die Punkte sind ",
        "aber nur näherungsweise aussagekräftig. ",
        "Abweichungen von einem Punkt sind ",
        "normal.",
        "",
        "Das Programm speichert die zuletzt ",
        "eingebenene Werte in der Datei",
        "\"Ratinor.ini\"",
        "Daher muss auf dem Laufwerk auf dem ",
        "dieses Programm gespeichert ist ",
        "Schreibberechtigung/möglichkeit ",
        "bestehen. Andernfalls stürzt das ",
        "Programm beim Beenden ab.",
    };
    const auto *text = help()->findChild<QPlainTextEdit *>("Text1");
    QCOMPARE(text->toPlainText(), lines.join('\n') + '\n');
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void tst_Dialogs::helpTextIsShownWhole()
{
    // Each of the 16 lines fits the box's width, and all of them its height.
    QDialog *window = help();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *text = window->findChild<QPlainTextEdit *>("Text1");
    QTextBlock block = text->document()->firstBlock();
    for (int line = 0; block.isValid() && line < 16; ++line, block = block.next())
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
    // A plain text layout stacks the blocks from the top; the first starts at 0.
    QAbstractTextDocumentLayout *layout = text->document()->documentLayout();
    qreal height = 0;
    for (QTextBlock line = text->document()->firstBlock(); line.blockNumber() < 16;
         line = line.next())
        height += layout->blockBoundingRect(line).height();
    QVERIFY2(height <= text->viewport()->height(),
             qPrintable(QString("%1 > %2").arg(height).arg(text->viewport()->height())));
}

void tst_Dialogs::helpTextWrapsAtBlanksOnly()
{
    // A face too wide for the lines, as where the narrow faces are missing.
    QDialog *window = help();
    auto *text = window->findChild<QPlainTextEdit *>("Text1");
    const QString written = text->toPlainText();
    window->setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    const QString shown = text->toPlainText();
    QVERIFY(shown.count(u'\n') > written.count(u'\n')); // the face does make lines overflow
    // What is copied and what a screen reader reads stay the text as written
    text->selectAll();
    text->copy();
    const QString copied = QApplication::clipboard()->text();
    QAccessibleTextInterface *read = QAccessible::queryAccessibleInterface(text)->textInterface();
    QVERIFY(read);
    const QString readOut = read->text(0, read->characterCount());
    // Only blanks became line breaks, so no word was broken at its hyphen
    QCOMPARE(shown.size(), written.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] != written[i])
            QVERIFY2(shown[i] == u'\n' && written[i] == u' ', qPrintable(shown.left(i + 1)));
    }
    QCOMPARE(copied, written);
    QCOMPARE(readOut, written);
    window->setFont(qt::classicFont());
    QCOMPARE(text->toPlainText(), written); // the designed face gives the lines as written
}

void tst_Dialogs::helpOpensWithTheFocusInItsText()
{
    auto *help = f.window->findChild<QPushButton *>("cmdHilfe");
    for (int opening = 0; opening < 10; ++opening) {
        // Opened and closed by mouse and by keyboard in turn
        if (opening % 2 == 0) {
            QTest::mouseClick(help, Qt::LeftButton);
        } else {
            help->setFocus();
            QTest::keyClick(help, Qt::Key_Space);
        }
        QWidget *window = visibleTopLevel("Hilfe");
        QVERIFY(window);
        QTRY_COMPARE(QApplication::activeWindow(), window);
        auto *text = window->findChild<QPlainTextEdit *>("Text1");
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(text->textCursor().position(), 0);
        QVERIFY(!text->textCursor().hasSelection());
        // Leave it elsewhere: all selected, the focus on OK
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Tab);
        auto *ok = window->findChild<QPushButton *>("cmdFehlerOK");
        QCOMPARE(QApplication::focusWidget(), ok);
        if (opening % 2 == 0)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!window->isVisible());
    }
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
