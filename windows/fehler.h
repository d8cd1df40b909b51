// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/view.h"

// The error window's handler: an entry is out of range. Shown while the main window is
// disabled, so it acts as a modal dialog; OK hides it and gives control back.
class Fehler
{
public:
    explicit Fehler(View &view) : m_view(view) { }
    void cmdFehlerOK_Click();

private:
    View &m_view;
};
