// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/texts.h"
#include "windows/twips.h"
#include "windows/view.h"

#include <optional>
#include <span>
#include <string_view>

// The three windows as designed: every window's settings and every control's name, kind,
// caption, place, tab index and further settings. Each front end builds its windows from
// these tables and only turns them into its toolkit's calls.
namespace design {

enum class Kind {
    Label,
    TextBox,      // single line, editable, right-aligned
    ReadOnlyText, // multi-line; the user can select but not change it; no scroll bars
    Frame,
    Option, // an option button of the frame's group
    Button,
};

enum class Role { None, Default, Cancel }; // pressed by Enter, by Esc

// The platform's system colours by number.
enum class SystemColour { None = -1, ButtonFace = 15, Light3D = 22 };

struct Font
{
    std::string_view face;
    double points;
    bool bold;
};

// Every control without a font of its own has the window's.
inline constexpr Font windowFont {"MS Sans Serif", 8.0, false};

struct Control
{
    std::string_view name;
    Kind kind;
    std::string_view caption; // or the text a box starts with
    Twips place;              // from the client area's corner; an option's from its frame's
    int tabIndex;
    std::optional<Box> box = {}; // a text box's place in the view
    int typedLimit = 0;          // at most this many characters typed; 0: no limit
    std::string_view toolTip = {};
    std::string_view accessibleName = {}; // where neither caption nor label names it
    std::string_view labels = {};         // a label: the box it names
    bool wordWrap = false;                // a label: its caption wraps at blanks
    Role role = Role::None;
    bool checkedAtStart = false;
    std::optional<Font> font = {};
    SystemColour background = SystemColour::None;
};

struct WindowDesign
{
    Window window;
    std::string_view name;
    std::string_view caption;
    int clientWidth; // twips
    int clientHeight;
    bool hasIcon;    // the program's icon; without one the window has none at all
    bool systemMenu; // the title bar's system menu with its close button
    SystemColour background;
    std::span<const Control> controls;
};

// clang-format off
inline constexpr Control frmHauptControls[] = {
    {.name = "Label6", .kind = Kind::Label, .caption = "\"K\" festlegen", .place = {120, 120, 1095, 255}, .tabIndex = 11, .labels = "Kwert"},
    {.name = "Kwert", .kind = Kind::TextBox, .caption = "30", .place = {1320, 120, 495, 375}, .tabIndex = 0, .box = Box::Kwert, .typedLimit = 2, .accessibleName = "K-Wert"},
    {.name = "cmdHilfe", .kind = Kind::Button, .caption = "Hilfe", .place = {1920, 120, 1095, 375}, .tabIndex = 12},
    {.name = "Label1", .kind = Kind::Label, .caption = "Eigene ELO", .place = {120, 600, 1215, 255}, .tabIndex = 4, .labels = "eigeneElo"},
    {.name = "eigeneElo", .kind = Kind::TextBox, .caption = "", .place = {1320, 600, 495, 375}, .tabIndex = 1, .box = Box::eigeneElo, .typedLimit = 4},
    {.name = "EigeneElodanach", .kind = Kind::TextBox, .caption = "", .place = {1920, 600, 495, 375}, .tabIndex = 6, .box = Box::EigeneElodanach, .accessibleName = "Eigene ELO danach"},
    {.name = "EigeneELOdifferenz", .kind = Kind::TextBox, .caption = "", .place = {2520, 600, 495, 375}, .tabIndex = 7, .box = Box::EigeneELOdifferenz, .accessibleName = "Eigene ELO Differenz"},
    {.name = "Label2", .kind = Kind::Label, .caption = "Gegner ELO", .place = {120, 1080, 1095, 255}, .tabIndex = 10, .labels = "GegnerElo"},
    {.name = "GegnerElo", .kind = Kind::TextBox, .caption = "", .place = {1320, 1080, 495, 375}, .tabIndex = 2, .box = Box::GegnerElo, .typedLimit = 4},
    {.name = "GegnerElodanach", .kind = Kind::TextBox, .caption = "", .place = {1920, 1080, 495, 375}, .tabIndex = 8, .box = Box::GegnerElodanach, .accessibleName = "Gegner ELO danach"},
    {.name = "GegnerELOdifferenz", .kind = Kind::TextBox, .caption = "", .place = {2520, 1080, 495, 375}, .tabIndex = 9, .box = Box::GegnerELOdifferenz, .accessibleName = "Gegner ELO Differenz"},
    {.name = "Frame1", .kind = Kind::Frame, .caption = "Ergebnis", .place = {120, 1560, 1695, 1335}, .tabIndex = 13},
    {.name = "optGewonnen", .kind = Kind::Option, .caption = "Gewonnen", .place = {120, 240, 1095, 255}, .tabIndex = 14, .toolTip = "Klicken Sie hier, wenn sie das Spiel gewonnen haben", .checkedAtStart = true},
    {.name = "optUnentschieden", .kind = Kind::Option, .caption = "Unentschieden", .place = {120, 600, 1455, 255}, .tabIndex = 16, .toolTip = "Klicken Sie hier, wenn das Spiel unentschieden geendet hat."},
    {.name = "optVerloren", .kind = Kind::Option, .caption = "Verloren", .place = {120, 960, 1095, 255}, .tabIndex = 15, .toolTip = "Klicken Sie hier, wenn Sie das Spiel verloren haben"},
    {.name = "Berechnen", .kind = Kind::Button, .caption = "Neue ELO Berechnen", .place = {1920, 1560, 1095, 615}, .tabIndex = 3, .role = Role::Default},
    {.name = "Ende", .kind = Kind::Button, .caption = "Ende", .place = {1920, 2280, 1095, 615}, .tabIndex = 5, .role = Role::Cancel},
};

inline constexpr Control fehlerControls[] = {
    {.name = "Label1", .kind = Kind::Label, .caption = texts::error, .place = {120, 120, 2415, 1095}, .tabIndex = 0, .wordWrap = true},
    {.name = "cmdFehlerOK", .kind = Kind::Button, .caption = "OK", .place = {600, 1440, 1455, 375}, .tabIndex = 1, .role = Role::Default},
};

inline constexpr Control hilfeControls[] = {
    {.name = "Label1", .kind = Kind::Label, .caption = texts::programName, .place = {120, 120, 3015, 375}, .tabIndex = 0, .font = Font {"MS Sans Serif", 13.5, true}},
    {.name = "Text1", .kind = Kind::ReadOnlyText, .caption = texts::help, .place = {120, 600, 3015, 3255}, .tabIndex = 1, .accessibleName = "Hilfetext", .background = SystemColour::ButtonFace},
    {.name = "cmdFehlerOK", .kind = Kind::Button, .caption = "OK", .place = {960, 3960, 1335, 495}, .tabIndex = 2, .role = Role::Default},
};

inline constexpr WindowDesign frmHaupt {Window::frmHaupt, "frmHaupt", texts::programName, 3150, 3000, true, false, SystemColour::Light3D, frmHauptControls};
inline constexpr WindowDesign Fehler {Window::Fehler, "Fehler", "Wert außerhalb des erlaubten Bereichs", 2655, 1995, true, false, SystemColour::None, fehlerControls};
inline constexpr WindowDesign Hilfe {Window::Hilfe, "Hilfe", "Ratinor 1.2 - Hilfe", 3225, 4575, false, true, SystemColour::None, hilfeControls};
// clang-format on

// The frame that holds the options.
inline constexpr std::string_view optionFrame = "Frame1";

constexpr const WindowDesign &of(Window window)
{
    switch (window) {
    case Window::Fehler:
        return Fehler;
    case Window::Hilfe:
        return Hilfe;
    case Window::frmHaupt:
        break;
    }
    return frmHaupt;
}

// The control of that name; the window's first where there is none.
constexpr const Control &control(const WindowDesign &window, std::string_view name)
{
    for (const Control &each : window.controls) {
        if (each.name == name)
            return each;
    }
    return window.controls.front();
}

// The text box in the main window's design.
constexpr const Control &control(Box box)
{
    for (const Control &each : frmHaupt.controls) {
        if (each.box == box)
            return each;
    }
    return frmHaupt.controls.front();
}

// What assistive technology calls a control: its own name where it has one, else the
// caption of the label that names it, else its caption.
constexpr std::string_view accessibleName(const WindowDesign &window, const Control &control)
{
    if (!control.accessibleName.empty())
        return control.accessibleName;
    for (const Control &label : window.controls) {
        if (label.labels == control.name)
            return label.caption;
    }
    return control.caption;
}

} // namespace design
