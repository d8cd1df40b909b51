// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhaupt.h"
#include "windows/look.h"
#include "windows/savefailure.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

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

QWidget *visibleTopLevel(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible())
            return window;
    }
    return nullptr;
}

// How a row's text reaches the box.
enum class Input { Keys, Paste, AltKeys };

} // namespace

Q_DECLARE_METATYPE(Input)

class tst_frmHaupt : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void accessibleNames();
    void optionToolTips_data();
    void optionToolTips();
    void tabOrder_data();
    void tabOrder();
    void arrowsMoveWithinTheOptions();
    void optionCaptionsFitEveryStyle_data();
    void optionCaptionsFitEveryStyle();
    void helpTextInTheActiveColourEveryStyle_data();
    void helpTextInTheActiveColourEveryStyle();
    void startsReady();
    void optionsCalculateAtOnce_data();
    void optionsCalculateAtOnce();
    void drawAgainstWeakerOpponent();
    void optionCheckedWithoutAClickCalculates();
    void clickOnTheCheckedOptionCalculates();
    void contextMenuIsGerman();
    void enterInABoxCalculates();
    void enterOnAnotherButtonPressesIt();
    void escapeEnds();
    void windowManagerCloseEnds();
    void errorFlow_data();
    void errorFlow();
    void errorTwiceInARow();
    void helpFlow();
    void helpOpensWithTheFocusInItsText();
    void activatingTheDisabledWindowBringsTheDialog_data();
    void activatingTheDisabledWindowBringsTheDialog();
    void typedLengthIsLimited_data();
    void typedLengthIsLimited();
    void typedLengthIsCutAtTheCursor_data();
    void typedLengthIsCutAtTheCursor();
    void programTextsAreNotLimited();
    void startsFromTheEntriesFile_data();
    void startsFromTheEntriesFile();
    void endSavesAsTyped_data();
    void endSavesAsTyped();
    void saveFailureOffersAChoice();
    void saveFailureShowsNamesAsText();
    void saveFailureWrapsALongPath();
    void saveFailureReason_data();
    void saveFailureReason();

private:
    void restart();
    QLineEdit *box(const char *name) const { return m_window->findChild<QLineEdit *>(name); }
    void enter(const QString &k, const QString &own, const QString &opponent);
    QStringList outputs() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frmHaupt> m_window;
};

void tst_frmHaupt::initTestCase()
{
    // As the program does: Qt's own texts in German
    QVERIFY(installGermanQtTexts());
}

void tst_frmHaupt::init()
{
    // The entries file lives in the working directory: a fresh one for each test.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_window = std::make_unique<frmHaupt>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_frmHaupt::cleanup()
{
    m_window.reset();
    // The main window owns its dialogs: nothing may outlive it.
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_frmHaupt::restart()
{
    m_window = std::make_unique<frmHaupt>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_frmHaupt::enter(const QString &k, const QString &own, const QString &opponent)
{
    box("Kwert")->setText(k);
    box("eigeneElo")->setText(own);
    box("GegnerElo")->setText(opponent);
}

QStringList tst_frmHaupt::outputs() const
{
    return {box("EigeneElodanach")->text(), box("EigeneELOdifferenz")->text(),
            box("GegnerElodanach")->text(), box("GegnerELOdifferenz")->text()};
}

// clang-format off
void tst_frmHaupt::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("rightAligned");
    QTest::newRow("Label6")             << "Label6" << "QLabel" << "\"K\" festlegen" << QRect(8, 8, 73, 17) << false;
    QTest::newRow("Kwert")              << "Kwert" << "QLineEdit" << "30" << QRect(88, 8, 33, 25) << true;
    QTest::newRow("cmdHilfe")           << "cmdHilfe" << "QPushButton" << "Hilfe" << QRect(128, 8, 73, 25) << false;
    QTest::newRow("Label1")             << "Label1" << "QLabel" << "Eigene ELO" << QRect(8, 40, 81, 17) << false;
    QTest::newRow("eigeneElo")          << "eigeneElo" << "QLineEdit" << "0" << QRect(88, 40, 33, 25) << true;
    QTest::newRow("EigeneElodanach")    << "EigeneElodanach" << "QLineEdit" << "" << QRect(128, 40, 33, 25) << true;
    QTest::newRow("EigeneELOdifferenz") << "EigeneELOdifferenz" << "QLineEdit" << "" << QRect(168, 40, 33, 25) << true;
    QTest::newRow("Label2")             << "Label2" << "QLabel" << "Gegner ELO" << QRect(8, 72, 73, 17) << false;
    QTest::newRow("GegnerElo")          << "GegnerElo" << "QLineEdit" << "0" << QRect(88, 72, 33, 25) << true;
    QTest::newRow("GegnerElodanach")    << "GegnerElodanach" << "QLineEdit" << "" << QRect(128, 72, 33, 25) << true;
    QTest::newRow("GegnerELOdifferenz") << "GegnerELOdifferenz" << "QLineEdit" << "" << QRect(168, 72, 33, 25) << true;
    QTest::newRow("Frame1")             << "Frame1" << "ClassicFrame" << "Ergebnis" << QRect(8, 104, 113, 89) << false;
    // The options count from the frame's corner, and reach to its border on the right
    QTest::newRow("optGewonnen")        << "optGewonnen" << "QRadioButton" << "Gewonnen" << QRect(8, 16, 101, 17) << false;
    QTest::newRow("optUnentschieden")   << "optUnentschieden" << "QRadioButton" << "Unentschieden" << QRect(8, 40, 101, 17) << false;
    QTest::newRow("optVerloren")        << "optVerloren" << "QRadioButton" << "Verloren" << QRect(8, 64, 101, 17) << false;
    // The caption wraps at its blank, inside the button
    QTest::newRow("Berechnen")          << "Berechnen" << "QPushButton" << "Neue ELO\nBerechnen" << QRect(128, 104, 73, 41) << false;
    QTest::newRow("Ende")               << "Ende" << "QPushButton" << "Ende" << QRect(128, 152, 73, 41) << false;
}
// clang-format on

void tst_frmHaupt::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, rect);
    QFETCH(bool, rightAligned);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ratinor 1.2"));
    QCOMPARE(m_window->size(), QSize(210, 200));
    const auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QCOMPARE(captionOf(control), caption);
    QCOMPARE(control->geometry(), rect);
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        QCOMPARE(bool(edit->alignment() & Qt::AlignRight), rightAligned);
}

void tst_frmHaupt::accessibleNames()
{
    const QStringList expected {
        "K-Wert",     "Eigene ELO",        "Eigene ELO danach",   "Eigene ELO Differenz",
        "Gegner ELO", "Gegner ELO danach", "Gegner ELO Differenz"};
    const char *names[] = {
        "Kwert",     "eigeneElo",       "EigeneElodanach",   "EigeneELOdifferenz",
        "GegnerElo", "GegnerElodanach", "GegnerELOdifferenz"};
    QStringList actual;
    for (const char *name : names)
        actual << box(name)->accessibleName();
    QCOMPARE(actual, expected);
    QCOMPARE(m_window->findChild<QLabel *>("Label6")->buddy(), box("Kwert"));
    QCOMPARE(m_window->findChild<QLabel *>("Label2")->buddy(), box("GegnerElo"));
    QCOMPARE(m_window->findChild<QPushButton *>("Berechnen")->accessibleName(),
             QStringLiteral("Neue ELO Berechnen"));
}

// clang-format off
void tst_frmHaupt::optionToolTips_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("toolTip");
    // Word for word: "sie" in the first, "Sie" in the last; only the middle one ends with a stop
    QTest::newRow("won")  << "optGewonnen"      << "Klicken Sie hier, wenn sie das Spiel gewonnen haben";
    QTest::newRow("draw") << "optUnentschieden" << "Klicken Sie hier, wenn das Spiel unentschieden geendet hat.";
    QTest::newRow("lost") << "optVerloren"      << "Klicken Sie hier, wenn Sie das Spiel verloren haben";
}
// clang-format on

void tst_frmHaupt::optionToolTips()
{
    QFETCH(QString, option);
    QFETCH(QString, toolTip);
    QCOMPARE(m_window->findChild<QRadioButton *>(option)->toolTip(), toolTip);
}

// clang-format off
void tst_frmHaupt::tabOrder_data()
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

void tst_frmHaupt::tabOrder()
{
    QFETCH(QString, checked);
    QFETCH(bool, backwards);
    QFETCH(QStringList, visited);
    enter("30", "1500", "1500");
    m_window->findChild<QRadioButton *>(checked)->setChecked(true);
    box("Kwert")->setFocus();
    QStringList actual;
    QWidget *focus = QApplication::focusWidget();
    for (qsizetype i = 0; i < visited.size() && focus; ++i) {
        actual << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        focus = QApplication::focusWidget();
    }
    QCOMPARE(actual, visited);
}

void tst_frmHaupt::arrowsMoveWithinTheOptions()
{
    enter("30", "1600", "1400");
    auto *won = m_window->findChild<QRadioButton *>("optGewonnen");
    won->setFocus();
    QTest::keyClick(won, Qt::Key_Down);
    auto *draw = m_window->findChild<QRadioButton *>("optUnentschieden");
    QCOMPARE(QApplication::focusWidget(), draw);
    QVERIFY(draw->isChecked());
    QCOMPARE(box("EigeneElodanach")->text(), QStringLiteral("1592"));
}

void tst_frmHaupt::optionCaptionsFitEveryStyle_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &style : QStyleFactory::keys())
        QTest::newRow(style.toUtf8()) << style;
}

void tst_frmHaupt::optionCaptionsFitEveryStyle()
{
    // Each caption has the room the style leaves it beside its circle, inside the frame.
    QFETCH(QString, style);
    m_window.reset();
    QApplication::setStyle(style);
    restart();
    const auto *frame = m_window->findChild<QGroupBox *>("Frame1");
    for (const auto *option : frame->findChildren<QRadioButton *>()) {
        QStyleOptionButton button;
        button.initFrom(option);
        button.text = option->text();
        const QRect room = option->style()->subElementRect(QStyle::SE_RadioButtonContents, &button,
                                                           option);
        QVERIFY2(option->fontMetrics().horizontalAdvance(option->text()) <= room.width(),
                 qPrintable(option->text()));
        QVERIFY(option->geometry().right() < frame->contentsRect().right());
    }
    m_window.reset();
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_frmHaupt::helpTextInTheActiveColourEveryStyle_data()
{
    optionCaptionsFitEveryStyle_data();
}

void tst_frmHaupt::helpTextInTheActiveColourEveryStyle()
{
    QFETCH(QString, style);
    m_window.reset();
    QApplication::setStyle(style);
    restart();
    for (int opening = 0; opening < 2; ++opening) {
        QTest::mouseClick(m_window->findChild<QPushButton *>("cmdHilfe"), Qt::LeftButton);
        QWidget *window = visibleTopLevel("Hilfe");
        QTRY_COMPARE(QApplication::activeWindow(), window);
        const auto *text = window->findChild<QPlainTextEdit *>("Text1");
        QVERIFY(text->isEnabled());
        // At scale 1 the bitmap face draws its glyphs in the text colour alone; smoothed
        // glyphs elsewhere have edges of any shade between text and background.
        const QPalette colours = QApplication::style()->standardPalette();
        const QImage drawn = text->viewport()->grab().toImage();
        QSet<QRgb> seen;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                seen.insert(drawn.pixel(x, y));
        QVERIFY(seen.contains(colours.color(QPalette::Active, QPalette::Text).rgb()));
        if (text->devicePixelRatio() == 1.0
            && colours.color(QPalette::Inactive, QPalette::Text)
                != colours.color(QPalette::Active, QPalette::Text))
            QVERIFY(!seen.contains(colours.color(QPalette::Inactive, QPalette::Text).rgb()));
        QTest::keyClick(window, Qt::Key_Return);
    }
    m_window.reset();
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_frmHaupt::startsReady()
{
    QVERIFY(m_window->isEnabled());
    QVERIFY(m_window->findChild<QRadioButton *>("optGewonnen")->isChecked());
    QCOMPARE(QApplication::focusWidget(), box("Kwert"));
    QVERIFY(!m_window->windowIcon().isNull());
    // A title bar without close, minimise and maximise buttons
    QCOMPARE(
        m_window->windowFlags()
            & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint),
        Qt::WindowFlags());
    QCOMPARE(outputs(), (QStringList {"", "", "", ""}));
    // The score starts at 1: "Neue ELO Berechnen" calculates a win.
    enter("30", "1500", "1500");
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(outputs(), (QStringList {"1515", "15", "1485", "-15"}));
}

// clang-format off
void tst_frmHaupt::optionsCalculateAtOnce_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("draw") << "optUnentschieden" << QStringList{"1592", "-8", "1408", "8"};
    QTest::newRow("lost") << "optVerloren" << QStringList{"1577", "-23", "1423", "23"};
    QTest::newRow("won")  << "optGewonnen" << QStringList{"1607", "7", "1393", "-7"};
}
// clang-format on

void tst_frmHaupt::optionsCalculateAtOnce()
{
    QFETCH(QString, option);
    QFETCH(QStringList, results);
    enter("30", "1600", "1400");
    // Start from another option, so that the click is a real change of the result.
    const QString other = option == "optVerloren" ? "optUnentschieden" : "optVerloren";
    QTest::mouseClick(m_window->findChild<QRadioButton *>(other), Qt::LeftButton);
    QTest::mouseClick(m_window->findChild<QRadioButton *>(option), Qt::LeftButton);
    QCOMPARE(outputs(), results);
    // The score stays with the option: "Neue ELO Berechnen" after a change of entries uses it.
    box("eigeneElo")->setText("1600.9x");
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(box("eigeneElo")->text(), QStringLiteral("1600"));
    QCOMPARE(outputs(), results);
}

void tst_frmHaupt::drawAgainstWeakerOpponent()
{
    enter("30", "1600", "1400");
    QTest::mouseClick(m_window->findChild<QRadioButton *>("optUnentschieden"), Qt::LeftButton);
    QCOMPARE(outputs(), (QStringList {"1592", "-8", "1408", "8"}));
}

void tst_frmHaupt::optionCheckedWithoutAClickCalculates()
{
    // A screen reader's toggle action checks the option without a click.
    enter("30", "1600", "1400");
    m_window->findChild<QRadioButton *>("optUnentschieden")->toggle();
    QCOMPARE(outputs(), (QStringList {"1592", "-8", "1408", "8"}));
    // The score follows the checked option for the next calculation too
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(outputs(), (QStringList {"1592", "-8", "1408", "8"}));
}

void tst_frmHaupt::clickOnTheCheckedOptionCalculates()
{
    enter("30", "1600", "1400");
    auto *won = m_window->findChild<QRadioButton *>("optGewonnen");
    QVERIFY(won->isChecked());
    QTest::mouseClick(won, Qt::LeftButton);
    QCOMPARE(outputs(), (QStringList {"1607", "7", "1393", "-7"}));
}

void tst_frmHaupt::contextMenuIsGerman()
{
    std::unique_ptr<QMenu> menu(box("Kwert")->createStandardContextMenu());
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("&Rückgängig\tStrg+Z"));
}

void tst_frmHaupt::enterInABoxCalculates()
{
    enter("30", "1500", "1520");
    box("GegnerElo")->setFocus();
    QTest::keyClick(box("GegnerElo"), Qt::Key_Return);
    QCOMPARE(outputs(), (QStringList {"1516", "16", "1504", "-16"}));
    // Enter on a focused option button calculates too
    enter("15", "2100", "2300");
    auto *won = m_window->findChild<QRadioButton *>("optGewonnen");
    won->setFocus();
    QTest::keyClick(won, Qt::Key_Enter);
    QCOMPARE(outputs(), (QStringList {"2111", "11", "2289", "-11"}));
}

void tst_frmHaupt::enterOnAnotherButtonPressesIt()
{
    auto *help = m_window->findChild<QPushButton *>("cmdHilfe");
    help->setFocus();
    QTest::keyClick(help, Qt::Key_Return);
    QVERIFY(visibleTopLevel("Hilfe"));
    QCOMPARE(outputs(), (QStringList {"", "", "", ""}));
}

void tst_frmHaupt::escapeEnds()
{
    QSignalSpy ended(m_window.get(), &frmHaupt::ended);
    QTest::keyClick(box("eigeneElo"), Qt::Key_Escape);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(QFile::exists("Ratinor.ini"));
}

void tst_frmHaupt::windowManagerCloseEnds()
{
    QSignalSpy ended(m_window.get(), &frmHaupt::ended);
    QVERIFY(m_window->close());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!QFile::exists("Ratinor.ini"));
}

// clang-format off
void tst_frmHaupt::errorFlow_data()
{
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("opponent");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("focus");
    QTest::newRow("first-start")  << "30" << "0"    << "0"    << QStringList{"30", "0", "0"}      << "GegnerElo";
    QTest::newRow("k-and-opp")    << "0"  << "1500" << "0"    << QStringList{"0", "1500", "0"}    << "Kwert";
    QTest::newRow("own-letters")  << "30" << "abc"  << "1500" << QStringList{"30", "0", "1500"}   << "eigeneElo";
    QTest::newRow("own-overflow") << "30" << "9e9"  << "15.7" << QStringList{"30", "9e9", "15"}   << "eigeneElo";
}
// clang-format on

void tst_frmHaupt::errorFlow()
{
    QFETCH(QString, k);
    QFETCH(QString, own);
    QFETCH(QString, opponent);
    QFETCH(QStringList, shown);
    QFETCH(QString, focus);
    // Results of an earlier calculation stay when the next one is refused.
    enter("30", "1600", "1400");
    QTest::mouseClick(m_window->findChild<QRadioButton *>("optUnentschieden"), Qt::LeftButton);
    const QStringList before = outputs();

    enter(k, own, opponent);
    QTest::keyClick(box("Kwert"), Qt::Key_Return);
    QCOMPARE(
        (QStringList {box("Kwert")->text(), box("eigeneElo")->text(), box("GegnerElo")->text()}),
        shown);
    QCOMPARE(outputs(), before);
    QVERIFY(!m_window->isEnabled());
    QWidget *error = visibleTopLevel("Fehler");
    QVERIFY(error);
    QVERIFY(QTest::qWaitForWindowActive(error));

    // While the error window is up, the main window does not react.
    QTest::mouseClick(m_window->findChild<QRadioButton *>("optGewonnen"), Qt::LeftButton);
    QVERIFY(m_window->findChild<QRadioButton *>("optUnentschieden")->isChecked());

    QTest::keyClick(error, Qt::Key_Return);
    QVERIFY(!error->isVisible());
    QVERIFY(m_window->isEnabled());
    QVERIFY(m_window->focusWidget());
    QCOMPARE(m_window->focusWidget()->objectName(), focus);
}

void tst_frmHaupt::errorTwiceInARow()
{
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QWidget *first = visibleTopLevel("Fehler");
    QVERIFY(first);
    QTest::mouseClick(first->findChild<QPushButton *>("cmdFehlerOK"), Qt::LeftButton);
    QVERIFY(m_window->isEnabled());
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(visibleTopLevel("Fehler"), first); // the same window, shown again
    QVERIFY(!m_window->isEnabled());
    first->close(); // the window manager's close acts as OK
    QVERIFY(!first->isVisible());
    QVERIFY(m_window->isEnabled());
}

void tst_frmHaupt::helpFlow()
{
    auto *help = m_window->findChild<QPushButton *>("cmdHilfe");
    QTest::mouseClick(help, Qt::LeftButton);
    QWidget *window = visibleTopLevel("Hilfe");
    QVERIFY(window);
    QVERIFY(!m_window->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape); // no cancel button: Esc does nothing
    QVERIFY(window->isVisible());
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(!window->isVisible());
    QVERIFY(m_window->isEnabled());
    QCOMPARE(m_window->focusWidget(), help);

    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(visibleTopLevel("Hilfe"), window);
    window->close(); // the window manager's close acts as OK
    QVERIFY(m_window->isEnabled());
}

void tst_frmHaupt::helpOpensWithTheFocusInItsText()
{

    auto *help = m_window->findChild<QPushButton *>("cmdHilfe");
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

// clang-format off
void tst_frmHaupt::activatingTheDisabledWindowBringsTheDialog_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("error") << "Berechnen" << "Fehler"; // 30, 0, 0 are out of range
    QTest::newRow("help")  << "cmdHilfe"  << "Hilfe";
}
// clang-format on

void tst_frmHaupt::activatingTheDisabledWindowBringsTheDialog()
{
    QFETCH(QString, opener);
    QFETCH(QString, dialog);
    QTest::mouseClick(m_window->findChild<QPushButton *>(opener), Qt::LeftButton);
    QWidget *shown = visibleTopLevel(dialog);
    QVERIFY(shown);
    QTRY_COMPARE(QApplication::activeWindow(), shown);
    // A click on the main window, or the task bar, activates it all the same
    QSignalSpy activated(qApp, &QGuiApplication::focusWindowChanged);
    m_window->activateWindow();
    QTRY_COMPARE(activated.count(), 2);
    QCOMPARE(activated.first().first().value<QWindow *>(), m_window->windowHandle());
    QCOMPARE(QApplication::activeWindow(), shown); // the dialog is back in front
    // Where the window system keeps the keyboard with the main window, Enter still reaches
    // the dialog's OK
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QVERIFY(!shown->isVisible());
    QVERIFY(m_window->isEnabled());
}

// clang-format off
void tst_frmHaupt::typedLengthIsLimited_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("k")        << "Kwert"     << "123"    << "12";
    QTest::newRow("own")      << "eigeneElo" << "123456" << "1234";
    QTest::newRow("opponent") << "GegnerElo" << "abcdef" << "abcd";
    QTest::newRow("output")   << "GegnerElodanach" << "123456" << "123456";
}
// clang-format on

void tst_frmHaupt::typedLengthIsLimited()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit *edit = box(name.toLatin1().constData());
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    // A paste is cut short, not refused
    edit->clear();
    QApplication::clipboard()->setText(typed);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), shown);
}

// clang-format off
void tst_frmHaupt::typedLengthIsCutAtTheCursor_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Input>("how");
    const Input typing = Input::Keys;
    const Input pasting = Input::Paste;
    const Input withAlt = Input::AltKeys;
    QTest::addColumn<QString>("shown");
    // A full box takes no further character, wherever the cursor is
    QTest::newRow("typed-in-full-box")   << "1x" << 1 << 0 << "2"  << typing  << "1x";
    // Of a paste, what fits is kept; the text after the cursor stays
    QTest::newRow("paste-in-front")      << "1"  << 0 << 0 << "23" << pasting << "21";
    // Whole characters only: no half of an emoji (a lone surrogate)
    QTest::newRow("paste-emoji")         << ""   << 0 << 0 << "a\U0001F600" << pasting << "a";
    // A paste replaces the selection with what fits of it, and keeps the rest
    QTest::newRow("paste-over-all")      << "45" << 0 << 2 << "1\U0001F600" << pasting << "1";
    QTest::newRow("paste-over-part")     << "45" << 0 << 1 << "78" << pasting << "75";
    QTest::newRow("paste-over-end")      << "45" << 1 << 1 << "78" << pasting << "47";
    // Alt with a letter or digit types nothing
    QTest::newRow("alt-letter")          << "4"  << 1 << 0 << "h"  << withAlt << "4";
    QTest::newRow("alt-digit")           << ""   << 0 << 0 << "5"  << withAlt << "";
}
// clang-format on

void tst_frmHaupt::typedLengthIsCutAtTheCursor()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(int, selected);
    QFETCH(QString, typed);
    QFETCH(Input, how);
    QFETCH(QString, shown);
    QLineEdit *k = box("Kwert");
    k->setText(before);
    k->setFocus();
    k->setSelection(cursor, selected);
    if (how == Input::Paste) {
        QApplication::clipboard()->setText(typed);
        QTest::keyClick(k, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(k, typed, how == Input::AltKeys ? Qt::AltModifier : Qt::NoModifier);
    }
    QCOMPARE(k->text(), shown);
}

void tst_frmHaupt::programTextsAreNotLimited()
{
    enter("1", "1", "1e4");
    QTest::mouseClick(m_window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(box("GegnerElo")->text(), QStringLiteral("10000"));
    // The user may shorten such a text but not lengthen it
    QLineEdit *opponent = box("GegnerElo");
    opponent->setFocus();
    opponent->end(false);
    QTest::keyClick(opponent, Qt::Key_5);
    QCOMPARE(opponent->text(), QStringLiteral("10000"));
    QTest::keyClick(opponent, Qt::Key_Backspace);
    QCOMPARE(opponent->text(), QStringLiteral("1000"));
}

// clang-format off
void tst_frmHaupt::startsFromTheEntriesFile_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("saved")     << false << QByteArray(" 25 \r\n 1700 \r\n 1650 \r\n") << QStringList{"25", "1700", "1650"};
    // Values the typed limits would not allow are shown whole
    QTest::newRow("long")      << false << QByteArray(" 100 \r\n-1000 \r\n 32767 \r\n") << QStringList{"100", "-1000", "32767"};
    // Each value that cannot be read takes its start default
    QTest::newRow("short")     << false << QByteArray(" 25 \r\n") << QStringList{"25", "0", "0"};
    QTest::newRow("garbled")   << false << QByteArray("x\r\n 40000 \r\n 1650 \r\n") << QStringList{"30", "0", "1650"};
    QTest::newRow("directory") << true  << QByteArray() << QStringList{"30", "0", "0"};
}
// clang-format on

void tst_frmHaupt::startsFromTheEntriesFile()
{
    QFETCH(bool, directory);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    // Saved with "Verloren" selected: the start is "Gewonnen" all the same.
    QTest::mouseClick(m_window->findChild<QRadioButton *>("optVerloren"), Qt::LeftButton);
    m_window.reset();
    if (directory) {
        QVERIFY(QDir::current().mkdir("Ratinor.ini"));
    } else {
        QFile file("Ratinor.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    restart();
    QCOMPARE(
        (QStringList {box("Kwert")->text(), box("eigeneElo")->text(), box("GegnerElo")->text()}),
        entries);
    QCOMPARE(outputs(), (QStringList {"", "", "", ""}));
    QVERIFY(m_window->findChild<QRadioButton *>("optGewonnen")->isChecked());
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
    enter(entries[0], entries[1], entries[2]);
    QTest::keyClick(box("GegnerElo"), Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(box("GegnerElo")->text(), entries[2]);
    QFile file("Ratinor.ini");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void tst_frmHaupt::saveFailureOffersAChoice()
{
    QVERIFY(QDir::current().mkdir("Ratinor.ini"));
    enter("20", "1234", "1111");
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
    QSignalSpy ended(m_window.get(), &frmHaupt::ended);
    answer(QString());
    QTest::keyClick(box("Kwert"), Qt::Key_Escape);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isEnabled());
    QCOMPARE(box("Kwert")->text(), QStringLiteral("20"));
    QVERIFY(QFileInfo("Ratinor.ini").isDir());
    QCOMPARE(ended.count(), 0);
    // "Trotzdem beenden" ends
    answer("Trotzdem beenden");
    QTest::mouseClick(m_window->findChild<QPushButton *>("Ende"), Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_window->isVisible());
}

void tst_frmHaupt::saveFailureShowsNamesAsText()
{
    // A folder from an archive or a shared drive, named with markup that would load a file.
    const QString folder = m_dir->filePath("Verein <u>Nord</u> <img src=probe>");
    QVERIFY(QDir().mkpath(folder + "/Ratinor.ini"));
    QVERIFY(QDir::setCurrent(folder));
    QFile probe("probe");
    QVERIFY(probe.open(QIODevice::WriteOnly));
    probe.close();
    const int watch = ::inotify_init1(IN_NONBLOCK);
    QVERIFY(::inotify_add_watch(watch, "probe", IN_OPEN) >= 0);
    restart();
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
    QTest::keyClick(box("Kwert"), Qt::Key_Escape);
    QVERIFY(shown.remove(u'\n').contains(folder + "/Ratinor.ini")); // wrapped where long
    inotify_event event {};
    QCOMPARE(::read(watch, &event, sizeof event), -1); // the probe was never opened
    ::close(watch);
}

void tst_frmHaupt::saveFailureWrapsALongPath()
{
    // A folder name of 150 letters without a blank, as archives and clubs' drives make them.
    const QString folder = m_dir->filePath(QString(150, u'x'));
    QVERIFY(QDir().mkpath(folder + "/Ratinor.ini"));
    QVERIFY(QDir::setCurrent(folder));
    restart();
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
    QTest::keyClick(box("Kwert"), Qt::Key_Escape);
    QVERIFY(onScreen);
    QVERIFY2(widest <= room, qPrintable(QStringLiteral("%1 > %2").arg(widest).arg(room)));
    QVERIFY(shown.remove(u'\n').contains(folder + "/Ratinor.ini")); // the whole path
}

// clang-format off
void tst_frmHaupt::saveFailureReason_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("oldKept");
    QTest::addColumn<QString>("reason");
    using Kind = storage::SaveError::Kind;
    // The system's part in German, whatever the locale
    QTest::newRow("failing-disk") << int(Kind::CannotWrite) << EIO << true
        << "Sie ließ sich nicht vollständig schreiben. Der alte Inhalt ist erhalten. "
           "(Meldung des Systems: Ein- oder Ausgabefehler des Datenträgers)";
    // A first run has no old content to speak of
    QTest::newRow("first-run-full") << int(Kind::DiskFull) << ENOSPC << false
        << "Der Datenträger ist voll, oder eine Grenze für Speicherplatz oder Dateigröße ist "
           "erreicht. (Meldung des Systems: kein Platz mehr auf dem Datenträger)";
    // No detail where the program has no words of its own for it
    QTest::newRow("unknown-error") << int(Kind::CannotWrite) << EPROTO << false
        << "Sie ließ sich nicht vollständig schreiben.";
    // A lost share is named as such, and a permission only where the system says so
    QTest::newRow("share-gone") << int(Kind::ConnectionLost) << ENOTCONN << false
        << "Die Verbindung zu dem Netzlaufwerk, auf dem sie liegt, ist unterbrochen. "
           "(Meldung des Systems: keine Verbindung zum Netzlaufwerk)";
    QTest::newRow("create-refused") << int(Kind::CannotCreate) << EACCES << false
        << "Sie lässt sich dort nicht anlegen, weil die Schreibberechtigung fehlt. "
           "(Meldung des Systems: Zugriff verweigert)";
    QTest::newRow("create-failed") << int(Kind::CannotCreate) << ENOSYS << false
        << "Sie lässt sich dort nicht anlegen.";
    QTest::newRow("link-loop") << int(Kind::LinkLoop) << 0 << false
        << "Sie ist eine Verknüpfung, die über weitere Verknüpfungen im Kreis wieder auf sich "
           "selbst zeigt.";
    QTest::newRow("link-into-nowhere") << int(Kind::LinkTargetMissing) << 0 << false
        << "Sie ist eine Verknüpfung in einen Ordner, der nicht besteht.";
}
// clang-format on

void tst_frmHaupt::saveFailureReason()
{
    QFETCH(int, kind);
    QFETCH(int, error);
    QFETCH(bool, oldKept);
    QFETCH(QString, reason);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->informativeText();
        box->reject();
    });
    askAfterSaveFailure(m_window.get(), "Ratinor.ini",
                        {storage::SaveError::Kind(kind), error, oldKept});
    QCOMPARE(shown.section("\n\n", 0, 0), reason);
}

QTEST_MAIN(tst_frmHaupt)
#include "tst_frmhaupt.moc"
