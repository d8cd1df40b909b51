// SPDX-License-Identifier: GPL-3.0-or-later
// The look under every style Qt offers here: captions that fit, texts in their colours.
#include "tests/mainwindowfixture.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>

class tst_Look : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void optionCaptionsFitEveryStyle_data();
    void optionCaptionsFitEveryStyle();
    void helpTextInTheActiveColourEveryStyle_data();
    void helpTextInTheActiveColourEveryStyle();

private:
    MainWindowFixture f;
};

void tst_Look::optionCaptionsFitEveryStyle_data()
{
    QTest::addColumn<QString>("style");
    for (const QString &style : QStyleFactory::keys())
        QTest::newRow(style.toUtf8()) << style;
}

void tst_Look::optionCaptionsFitEveryStyle()
{
    // Each caption has the room the style leaves it beside its circle, inside the frame.
    QFETCH(QString, style);
    f.window.reset();
    QApplication::setStyle(style);
    f.restart();
    const auto *frame = f.window->findChild<QGroupBox *>("Frame1");
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
    f.window.reset();
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_Look::helpTextInTheActiveColourEveryStyle_data()
{
    optionCaptionsFitEveryStyle_data();
}

void tst_Look::helpTextInTheActiveColourEveryStyle()
{
    QFETCH(QString, style);
    f.window.reset();
    QApplication::setStyle(style);
    f.restart();
    for (int opening = 0; opening < 2; ++opening) {
        QTest::mouseClick(f.window->findChild<QPushButton *>("cmdHilfe"), Qt::LeftButton);
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
    f.window.reset();
    QApplication::setStyle(QStringLiteral("Fusion"));
}

QTEST_MAIN(tst_Look)
#include "tst_look.moc"
