// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's text boxes: typed limits, pastes and Alt.
#include "tests/mainwindowfixture.h"

#include <QClipboard>
#include <QPushButton>
#include <QtTest>

namespace {

// How a row's text reaches the box.
enum class Input { Keys, Paste, AltKeys };

} // namespace

Q_DECLARE_METATYPE(Input)

class tst_EntryBox : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void typedLengthIsLimited_data();
    void typedLengthIsLimited();
    void typedLengthIsCutAtTheCursor_data();
    void typedLengthIsCutAtTheCursor();
    void programTextsAreNotLimited();

private:
    MainWindowFixture f;
};

// clang-format off
void tst_EntryBox::typedLengthIsLimited_data()
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

void tst_EntryBox::typedLengthIsLimited()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit *edit = f.box(name.toLatin1().constData());
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
void tst_EntryBox::typedLengthIsCutAtTheCursor_data()
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

void tst_EntryBox::typedLengthIsCutAtTheCursor()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(int, selected);
    QFETCH(QString, typed);
    QFETCH(Input, how);
    QFETCH(QString, shown);
    QLineEdit *k = f.box("Kwert");
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

void tst_EntryBox::programTextsAreNotLimited()
{
    f.enter("1", "1", "1e4");
    QTest::mouseClick(f.window->findChild<QPushButton *>("Berechnen"), Qt::LeftButton);
    QCOMPARE(f.box("GegnerElo")->text(), QStringLiteral("10000"));
    // The user may shorten such a text but not lengthen it
    QLineEdit *opponent = f.box("GegnerElo");
    opponent->setFocus();
    opponent->end(false);
    QTest::keyClick(opponent, Qt::Key_5);
    QCOMPARE(opponent->text(), QStringLiteral("10000"));
    QTest::keyClick(opponent, Qt::Key_Backspace);
    QCOMPARE(opponent->text(), QStringLiteral("1000"));
}

QTEST_MAIN(tst_EntryBox)
#include "tst_entrybox.moc"
