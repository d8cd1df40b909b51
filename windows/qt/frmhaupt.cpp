// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/frmhaupt.h"

#include "windows/design.h"
#include "windows/qt/controls.h"
#include "windows/qt/entrybox.h"
#include "windows/qt/hilfe.h"
#include "windows/qt/modalflow.h"
#include "windows/qt/savefailurebox.h"
#include "windows/qt/utf8.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace qt {
frmHaupt::frmHaupt(QWidget *parent) : QDialog(parent, Qt::Window)
{
    setUpWindow(this, design::frmHaupt);
    createControls(this, design::frmHaupt);
    m_flow = new ModalFlow(this);
    for (const ::frmHaupt::Wiring &wiring : ::frmHaupt::clicks) {
        const QString name = fromUtf8(wiring.control);
        const auto handler = wiring.click;
        if (auto *option = findChild<QRadioButton *>(name))
            connectOption(option, handler);
        else if (auto *button = findChild<QPushButton *>(name))
            connect(button, &QPushButton::clicked, this,
                    [this, handler] { (m_handlers.*handler)(); });
    }
    m_handlers.Form_Load();
    box(Box::Kwert)->setFocus();
}

void frmHaupt::connectOption(QRadioButton *option, void (::frmHaupt::*handler)())
{
    // Checking an option calculates, however it is checked: mouse, keys, or a screen
    // reader's toggle action, which never clicks. Clicking the option that is already
    // checked toggles nothing and calculates too.
    connect(option, &QRadioButton::toggled, this, [this, handler](bool checked) {
        if (checked)
            (m_handlers.*handler)();
    });
    connect(option, &QRadioButton::pressed, this,
            [this, option] { m_optionWasChecked = option->isChecked(); });
    connect(option, &QRadioButton::clicked, this, [this, handler] {
        if (m_optionWasChecked)
            (m_handlers.*handler)();
    });
}

EntryBox *frmHaupt::box(Box box) const
{
    return findChild<EntryBox *>(fromUtf8(design::control(box).name));
}

std::string frmHaupt::text(Box box) const
{
    return this->box(box)->text().toStdString();
}

void frmHaupt::setText(Box box, std::string_view text)
{
    this->box(box)->setProgramText(fromUtf8(text));
}

void frmHaupt::setFocus(Box box)
{
    this->box(box)->setFocus();
}

void frmHaupt::setMainEnabled(bool enabled)
{
    if (enabled)
        m_flow->enableMain();
    else
        m_flow->disableMain();
}

QDialog *frmHaupt::dialog(Window window)
{
    if (window == Window::Fehler) {
        if (!m_fehler)
            m_fehler = new OkOnlyDialog(this, design::Fehler,
                                        [this] { m_fehlerHandlers.cmdFehlerOK_Click(); });
        return m_fehler;
    }
    if (!m_hilfe)
        m_hilfe = new Hilfe(this, [this] { m_hilfeHandlers.cmdFehlerOK_Click(); });
    return m_hilfe;
}

void frmHaupt::show(Window window)
{
    if (window == Window::frmHaupt) {
        QDialog::show();
        return;
    }
    QDialog *shown = dialog(window);
    m_flow->shown(shown);
    shown->show();
}

void frmHaupt::hide(Window window)
{
    if (window == Window::frmHaupt) {
        QDialog::hide();
        return;
    }
    QDialog *hidden = dialog(window);
    hidden->hide();
    m_flow->hidden(hidden);
}

SaveFailureChoice frmHaupt::askAfterSaveFailure(const SaveFailureMessage &message)
{
    return qt::askAfterSaveFailure(this, message);
}

void frmHaupt::end()
{
    for (QDialog *shown : {static_cast<QDialog *>(m_fehler), static_cast<QDialog *>(m_hilfe)}) {
        if (shown)
            shown->hide();
    }
    QDialog::hide();
    emit ended();
}

void frmHaupt::reject()
{
    m_handlers.Ende_Click();
}

void frmHaupt::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager, not by "Ende": end without saving the entries.
    event->accept();
    end();
}

void frmHaupt::showEvent(QShowEvent *event)
{
    // Not QDialog's: it centres the window, and X11 then reports that place as the user's
    // choice. The window manager places the main window itself.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

} // namespace qt
