// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/fehler.h"

// The main window is shown before it is enabled; the help window's OK enables it first.
void Fehler::cmdFehlerOK_Click()
{
    m_view.hide(Window::Fehler);
    m_view.show(Window::frmHaupt);
    m_view.setMainEnabled(true);
}
