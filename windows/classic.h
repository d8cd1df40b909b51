// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QIcon>

class QPushButton;
class QWidget;

// What the three windows share: the narrow face they were drawn for, and the icon.

// The windows' 8-point default face, "MS Sans Serif", loaded from Wine's free bitmap
// face when fontconfig hides it; a narrow outline sans where it cannot serve.
QFont classicFont(double pointSize = 8.0, bool bold = false);

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

// The error and help windows: shown while the main window is disabled, so each acts as a
// modal dialog whose only way out is its OK button, cmdFehlerOK. Each stays above the
// main window, its owner, where the window system places it.
class ClassicDialog : public QDialog
{
    Q_OBJECT
public:
    void reject() override; // no cancel button: Esc does nothing

protected:
    ClassicDialog(QWidget *main, Qt::WindowFlags flags);
    // The OK button, as the window's default button.
    QPushButton *addOkButton(const QRect &geometry);
    virtual void cmdFehlerOK_Click() = 0;
    QWidget *mainWindow() const { return parentWidget(); }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // the window manager's close acts as OK
    void changeEvent(QEvent *event) override;

private:
    QPushButton *m_ok = nullptr;
};
