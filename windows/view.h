// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

// What the windows' handlers take from the platform. Each front end implements it in its
// toolkit's own calls; the handlers are written once against it.

enum class Window { frmHaupt, Fehler, Hilfe };

// The main window's seven text boxes.
enum class Box {
    Kwert,
    eigeneElo,
    GegnerElo,
    EigeneElodanach,
    EigeneELOdifferenz,
    GegnerElodanach,
    GegnerELOdifferenz,
};

enum class SaveFailureChoice { Back, EndAnyway };

struct SaveFailureMessage;

class View
{
public:
    virtual ~View() = default;

    // A box's text, UTF-8.
    virtual std::string text(Box box) const = 0;
    // Sets a box's text as the program's own: no typed-length limit applies to it.
    virtual void setText(Box box, std::string_view text) = 0;
    virtual void setFocus(Box box) = 0;
    // False blocks all mouse and keyboard input to the main window; it stays visible.
    virtual void setMainEnabled(bool enabled) = 0;
    // Shows a window modeless; the error and help windows are created on first use.
    virtual void show(Window window) = 0;
    // Hides a window; it keeps its state for the next showing.
    virtual void hide(Window window) = 0;
    // Tells the user why the entries could not be saved, and asks what to do.
    virtual SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &message) = 0;
    // Ends the program at once: no further handler runs.
    virtual void end() = 0;
};
