#pragma once
#include <QDialog>
#include <QFont>
#include <QIcon>

class QPushButton;
class QWidget;

// What the three windows share: the narrow face they were drawn for, and the icon.

// The windows' 8-point default face, "MS Sans Serif", loaded from Wine's free bitmap
// face when fontconfig hides it; a narrow outline sans where it cannot serve.
QFont classicFont(double pointSize = 8.0, bool bold = false);

// The Saturn sign, white on black.
QIcon ratinorIcon();

// A fixed-size window whose client area is width x height twips.
void setFixedClientArea(QWidget *window, int width, int height);

// The error and help windows: shown without an owner while the main window is disabled,
// so each acts as a modal dialog whose only way out is its OK button, cmdFehlerOK.
class ClassicDialog : public QDialog
{
    Q_OBJECT
public:
    void reject() override; // no cancel button: Esc does nothing

protected:
    explicit ClassicDialog(Qt::WindowFlags flags);
    // The OK button, as the window's default button.
    QPushButton *addOkButton(const QRect &geometry);
    virtual void cmdFehlerOK_Click() = 0;

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // the window manager's close acts as OK

private:
    QPushButton *m_ok = nullptr;
};
