#include "windows/fehler.h"
#include "windows/frmhaupt.h"
#include "windows/hilfe.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

class tst_Dialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void controls_data();
    void controls();
    void windows_data();
    void windows();
    void helpText();
    void helpTextIsShownWhole();
    void okRestoresTheMainWindow_data();
    void okRestoresTheMainWindow();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<frmHaupt> m_main;
    std::unique_ptr<Fehler> m_fehler;
    std::unique_ptr<Hilfe> m_hilfe;
    QDialog *dialog(const QString &name) const
    {
        return name == "Fehler" ? static_cast<QDialog *>(m_fehler.get()) : m_hilfe.get();
    }
};

void tst_Dialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_main = std::make_unique<frmHaupt>();
    m_fehler = std::make_unique<Fehler>(m_main.get());
    m_hilfe = std::make_unique<Hilfe>(m_main.get());
}

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
    if (const auto *label = qobject_cast<const QLabel *>(control))
        QCOMPARE(label->text(), caption);
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
    QVERIFY(!shown->parentWidget()); // shown without an owner window
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
    const auto *text = m_hilfe->findChild<QPlainTextEdit *>("Text1");
    QCOMPARE(text->toPlainText(), lines.join('\n') + '\n');
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void tst_Dialogs::helpTextIsShownWhole()
{
    // Each of the 16 lines fits the box's width, and all of them its height.
    m_hilfe->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_hilfe.get()));
    auto *text = m_hilfe->findChild<QPlainTextEdit *>("Text1");
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
    m_hilfe->hide();
}

// clang-format off
void tst_Dialogs::okRestoresTheMainWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("Fehler") << "Fehler";
    QTest::newRow("Hilfe") << "Hilfe";
}
// clang-format on

void tst_Dialogs::okRestoresTheMainWindow()
{
    QFETCH(QString, window);
    QDialog *shown = dialog(window);
    m_main->setEnabled(false);
    m_main->hide();
    shown->show();
    QTest::keyClick(shown, Qt::Key_Escape);
    QVERIFY(shown->isVisible());
    QTest::keyClick(shown, Qt::Key_Return);
    QVERIFY(!shown->isVisible());
    QVERIFY(m_main->isVisible());
    QVERIFY(m_main->isEnabled());
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
