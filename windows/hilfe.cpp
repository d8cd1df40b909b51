// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/hilfe.h"

// The main window is enabled before it is shown; the error window's OK shows it first.
void Hilfe::cmdFehlerOK_Click()
{
    m_view.hide(Window::Hilfe);
    m_view.setMainEnabled(true);
    m_view.show(Window::frmHaupt);
}
