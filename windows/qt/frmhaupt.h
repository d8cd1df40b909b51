// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/fehler.h"
#include "windows/frmhaupt.h"
#include "windows/hilfe.h"
#include "windows/view.h"

#include <QDialog>

class QRadioButton;

namespace qt {

class EntryBox;
class ModalFlow;
class OkOnlyDialog;

// The main window, and the view that the handlers of all three windows work through.
// A QDialog, because only dialogs give Enter to the default button and Esc to reject().
// It owns the error and help windows, created on first use.
class frmHaupt : public QDialog, public View
{
    Q_OBJECT
public:
    explicit frmHaupt(QWidget *parent = nullptr);

    void reject() override; // Esc presses "Ende"

    using QDialog::hide;
    using QDialog::setFocus;
    using QDialog::show;
    std::string text(Box box) const override;
    void setText(Box box, std::string_view text) override;
    void setFocus(Box box) override;
    void setMainEnabled(bool enabled) override;
    void show(Window window) override;
    void hide(Window window) override;
    SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &message) override;
    void end() override;

signals:
    // The program is to end now: "Ende", or the window manager closed the window.
    void ended();

protected:
    void closeEvent(QCloseEvent *event) override; // the window manager's close
    void showEvent(QShowEvent *event) override;

private:
    EntryBox *box(Box box) const;
    QDialog *dialog(Window window);
    void connectOption(QRadioButton *option, void (::frmHaupt::*handler)());

    ::frmHaupt m_handlers {*this};
    ::Fehler m_fehlerHandlers {*this};
    ::Hilfe m_hilfeHandlers {*this};
    ModalFlow *m_flow = nullptr;
    OkOnlyDialog *m_fehler = nullptr; // created on first use, then only hidden
    OkOnlyDialog *m_hilfe = nullptr;
    bool m_optionWasChecked = false; // when the option being clicked was pressed
};

} // namespace qt
