// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/view.h"

// The help window's handler. Shown while the main window is disabled, so it acts as a
// modal dialog; OK hides it and gives control back.
class Hilfe
{
public:
    explicit Hilfe(View &view) : m_view(view) { }
    void cmdFehlerOK_Click();

private:
    View &m_view;
};
