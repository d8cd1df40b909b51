// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

class Fehler;
class Hilfe;
class ModalFlow;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The main window: the three entries, the result options and the four result boxes.
// A QDialog, because only dialogs give Enter to the default button and Esc to reject().
class frmHaupt : public QDialog
{
    Q_OBJECT
public:
    explicit frmHaupt(QWidget *parent = nullptr);

    void Rechnen();
    // Whether anything of that name is there, a directory included.
    bool FileExists(const QString &FileName) const;
    void reject() override; // Esc presses "Ende"

signals:
    // The program is to end now: "Ende", or the window manager closed the window.
    void ended();

protected:
    void closeEvent(QCloseEvent *event) override; // the window manager's close
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void optGewonnen_Click();
    void optUnentschieden_Click();
    void optVerloren_Click();
    void Berechnen_Click();
    void cmdHilfe_Click();
    void Ende_Click();

    void connectOption(QRadioButton *option, void (frmHaupt::*handler)());
    bool saveEntries();
    void endProgram();

    QLabel *Label6 = nullptr;
    QLineEdit *Kwert = nullptr;
    QPushButton *cmdHilfe = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *eigeneElo = nullptr;
    QLineEdit *EigeneElodanach = nullptr;
    QLineEdit *EigeneELOdifferenz = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *GegnerElo = nullptr;
    QLineEdit *GegnerElodanach = nullptr;
    QLineEdit *GegnerELOdifferenz = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *optGewonnen = nullptr;
    QRadioButton *optUnentschieden = nullptr;
    QRadioButton *optVerloren = nullptr;
    QPushButton *Berechnen = nullptr;
    QPushButton *Ende = nullptr;

    double m_gameScore = 1.0;
    Fehler *m_fehler = nullptr; // created on first use, then only hidden; owned as children
    Hilfe *m_hilfe = nullptr;
    bool m_optionWasChecked = false; // when the option being clicked was pressed
    ModalFlow *m_flow = nullptr;     // the dialogs' modality, by hand
    QString m_entriesFilePath;       // absolute, for messages only
};
