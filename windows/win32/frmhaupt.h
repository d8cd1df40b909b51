// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/fehler.h"
#include "windows/frmhaupt.h"
#include "windows/hilfe.h"
#include "windows/view.h"

#include <windows.h>

namespace win32 {

class OkOnlyDialog;

// The main window, and the view that the handlers of all three windows work through. It
// owns the error and help windows, created on first use.
class frmHaupt : public View
{
public:
    explicit frmHaupt(HINSTANCE instance);
    ~frmHaupt() override;
    frmHaupt(const frmHaupt &) = delete;
    frmHaupt &operator=(const frmHaupt &) = delete;

    HWND handle() const { return m_window; }
    // Runs the message loop until the program ends; the exit code.
    int run();

    std::string text(Box box) const override;
    void setText(Box box, std::string_view text) override;
    void setFocus(Box box) override;
    void setMainEnabled(bool enabled) override;
    void show(Window window) override;
    void hide(Window window) override;
    SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &message) override;
    void end() override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void command(int id, int notification);
    HWND box(Box box) const;
    OkOnlyDialog &dialog(Window window);

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_tips = nullptr;
    HFONT m_font = nullptr;
    HBRUSH m_background = nullptr;
    HWND m_focusOnReturn = nullptr;
    int m_dpi = 96;
    ::frmHaupt m_handlers {*this};
    ::Fehler m_fehlerHandlers {*this};
    ::Hilfe m_hilfeHandlers {*this};
    OkOnlyDialog *m_fehler = nullptr; // created on first use, then only hidden
    OkOnlyDialog *m_hilfe = nullptr;
};

} // namespace win32
