#pragma once
#include <QDialog>

class frmHaupt;
class QLabel;
class QPushButton;

// The error window: an entry is out of range. Shown without an owner while the main
// window is disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Fehler : public QDialog
{
    Q_OBJECT
public:
    explicit Fehler(frmHaupt *main);
    void reject() override;   // Esc does nothing here

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;   // the window manager's close acts as OK

private:
    void cmdFehlerOK_Click();

    frmHaupt *m_main;
    QLabel *Label1 = nullptr;
    QPushButton *cmdFehlerOK = nullptr;
};
