// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFont>
#include <QGroupBox>
#include <QIcon>

class QFontMetrics;
class QWidget;

// The look the three windows share: the narrow face they were drawn for, its wrapping
// rule, the icon, the bare title bar, the classic frame, and Qt's texts in German.

// The windows' 8-point default face, "MS Sans Serif", loaded from Wine's free bitmap
// face when fontconfig hides it; a narrow outline sans where it cannot serve.
QFont classicFont(double pointSize = 8.0, bool bold = false);

// The text in lines no wider than width, broken only at blanks, never after a hyphen
// ("ELO-|Scores"), as the windows were designed; a line break in the text stays, and a word
// wider than a line stands on a line of its own.
QString wrappedAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

// Qt's own texts (context menus, standard buttons) in German, as the program is,
// whatever the locale. False when Qt's translations are not installed.
bool installGermanQtTexts();

// The Saturn sign, white on black.
QIcon ratinorIcon();

// A fixed-size window whose client area is width x height twips, placed by the window
// system: the program sets no position of its own.
void setFixedClientArea(QWidget *window, int width, int height);

// Makes a window's title bar bare: neither minimise nor maximise button, and no close
// button where the window system lets a program say so (X11's Motif hints; see the
// README). Call it before the window is first shown.
void setTitleOnlyDecorations(QWidget *window);

// A frame drawn the classic way: an etched line whose top runs through the middle of the
// caption, so the controls placed inside it clear the line at every scale.
class ClassicFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit ClassicFrame(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
