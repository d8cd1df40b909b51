#pragma once
#include <QDialog>

class frmHaupt;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The help window with its fixed text. Shown without an owner while the main window is
// disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Hilfe : public QDialog
{
    Q_OBJECT
public:
    explicit Hilfe(frmHaupt *main);
    void reject() override;   // Esc does nothing here

    // The help text, each line ended by CR LF.
    static const QString &helpText();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;   // the window manager's close acts as OK

private:
    void cmdFehlerOK_Click();

    frmHaupt *m_main;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
