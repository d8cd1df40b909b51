#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the running program as a screen reader does: through AT-SPI, by roles and
accessible names, never by pixels. Run by e2e.sh with the program started in the working
directory given; the window system is X11 or Wayland, whichever e2e.sh set up.

Usage: e2e.py WORKDIR x11|wayland
"""
import os
import subprocess
import sys
import time

import pyatspi

WORKDIR, SESSION = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def wait_for(find, timeout=10.0):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "ratinor":
            return app
    return None


def descendant(node, role, name):
    def matches(candidate):
        return candidate is not None and candidate.getRole() == role and candidate.name == name
    return pyatspi.findDescendant(node, matches)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def sensitive(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


def window(name):
    """The shown top-level window of that title."""
    def find():
        app = application()
        if app is None:
            return None
        for child in app:
            if child is not None and child.name == name and showing(child):
                return child
        return None
    return wait_for(find)


def act(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if not check(action in names, f"'{node.name}' offers {action} ({', '.join(names)})"):
        return
    actions.doAction(names.index(action))


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def type_into(main, name, value):
    box = descendant(main, pyatspi.ROLE_TEXT, name)
    box.queryEditableText().setTextContents(value)


def boxes(main, *names):
    return [text_of(descendant(main, pyatspi.ROLE_TEXT, name)) for name in names]


OUTPUTS = ("Eigene ELO danach", "Eigene ELO Differenz", "Gegner ELO danach", "Gegner ELO Differenz")


def x11_window(title):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                         capture_output=True, text=True).stdout.split()
    return out[0] if out else None


def xprop(window_id, *names):
    return subprocess.run(["xprop", "-id", window_id, *names], capture_output=True,
                          text=True).stdout


def main():
    main_window = window("Ratinor 1.2")
    if not check(main_window is not None, "the main window appears on the accessibility bus"):
        return
    check(boxes(main_window, "K-Wert", "Eigene ELO", "Gegner ELO") == ["30", "0", "0"],
          "a first start shows 30, 0, 0")
    # Qt's own texts are German as the program starts: here what a button's action does.
    actions = descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Ende").queryAction()
    check(actions.getDescription(0) == "Aktion auslösen",
          f"Qt's texts are German: {actions.getDescription(0)!r}")

    type_into(main_window, "Eigene ELO", "1600")
    type_into(main_window, "Gegner ELO", "1400")
    # The options offer only "Toggle" here: it must calculate as a click does.
    act(descendant(main_window, pyatspi.ROLE_RADIO_BUTTON, "Unentschieden"), "Toggle")
    time.sleep(0.3)
    check(boxes(main_window, *OUTPUTS) == ["1592", "-8", "1408", "8"],
          f"toggling 'Unentschieden' calculates a draw: {boxes(main_window, *OUTPUTS)}")
    type_into(main_window, "Eigene ELO", "1600.9x")
    act(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Neue ELO Berechnen"), "Press")
    time.sleep(0.3)
    check(boxes(main_window, "Eigene ELO", *OUTPUTS) == ["1600", "1592", "-8", "1408", "8"],
          "'Neue ELO Berechnen' normalises the entry and keeps the draw")

    # An entry out of range: the error window, over the disabled main window.
    type_into(main_window, "K-Wert", "0")
    act(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Neue ELO Berechnen"), "Press")
    error = window("Wert außerhalb des erlaubten Bereichs")
    if check(error is not None, "the error window appears"):
        message = pyatspi.findDescendant(error, lambda n: n is not None
                                         and n.getRole() == pyatspi.ROLE_LABEL)
        check(message is not None and message.name ==
              "Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! Die ELO-Scores und "
              "der K-Wert müssen positiv und ungleich null sein!",
              "the error text reads with plain hyphens")
        check(not sensitive(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Ende")),
              "the main window is disabled meanwhile")
        if SESSION == "x11":
            x11_checks()
            x11_activate_main_then_enter(error)
        else:
            act(descendant(error, pyatspi.ROLE_PUSH_BUTTON, "OK"), "Press")
        check(wait_for(lambda: not showing(error)), "OK hides the error window")
        check(wait_for(lambda: sensitive(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON,
                                                    "Ende"))),
              "and enables the main window again")
    type_into(main_window, "K-Wert", "30")

    act(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Hilfe"), "Press")
    help_window = window("Ratinor 1.2 - Hilfe")
    if check(help_window is not None, "the help window appears"):
        help_text = descendant(help_window, pyatspi.ROLE_TEXT, "Hilfetext")
        check(help_text is not None and text_of(help_text).startswith(
            "Dieses Programm berechnet die neue \nELO-Score"), "the help text has its name")
        if SESSION == "x11":
            # weston's headless backend has no keyboard: no window there ever has the focus.
            check(help_text is not None and wait_for(
                lambda: help_text.getState().contains(pyatspi.STATE_FOCUSED)),
                  "the help window opens with the focus in its text")
            x11_activate_main_then_enter(help_window)
        else:
            act(descendant(help_window, pyatspi.ROLE_PUSH_BUTTON, "OK"), "Press")
        check(wait_for(lambda: not showing(help_window)), "OK hides the help window")

    # Saved unchecked as typed, a fraction rounded down: -0.5 is saved as -1, not 0.
    type_into(main_window, "Gegner ELO", "-0.5")
    if SESSION == "x11":
        x11_keys(main_window)
        # Esc is "Ende"; AT-SPI has no key of its own for it.
        window_id = x11_window("Ratinor 1.2")
        subprocess.run(["xdotool", "windowactivate", "--sync", window_id], capture_output=True)
        subprocess.run(["xdotool", "key", "--window", window_id, "Escape"])
    else:
        act(descendant(main_window, pyatspi.ROLE_PUSH_BUTTON, "Ende"), "Press")
    entries = os.path.join(WORKDIR, "Ratinor.ini")
    wait_for(lambda: os.path.exists(entries))
    saved = open(entries, "rb").read() if os.path.exists(entries) else b""
    check(saved == b" 30 \r\n 1600 \r\n-1 \r\n", f"'Ende' saves the entries: {saved!r}")


def key(*keys):
    """Keys as the user types them, to the window that has the keyboard."""
    subprocess.run(["xdotool", "key", "--delay", "50", *keys])
    time.sleep(0.3)


def active(node):
    return node.getState().contains(pyatspi.STATE_ACTIVE)


def x11_activate_main_then_enter(dialog):
    """A click on the disabled main window: its dialog comes forward with the keyboard."""
    subprocess.run(["xdotool", "windowactivate", x11_window("Ratinor 1.2")], capture_output=True)
    time.sleep(0.5)
    check(wait_for(lambda: active(dialog)),
          f"activating the disabled main window brings '{dialog.name}' forward")
    key("Return")
    check(wait_for(lambda: not showing(dialog)), f"then Enter presses OK in '{dialog.name}'")


def x11_keys(main_window):
    """What only the real program, as it starts, and real keys show."""
    k = descendant(main_window, pyatspi.ROLE_TEXT, "K-Wert")
    k.queryComponent().grabFocus()
    time.sleep(0.3)
    key("ctrl+a", "2", "alt+h", "alt+5")
    check(text_of(k) == "2", f"Alt with a letter or digit types nothing: {text_of(k)!r}")
    # The entries cannot be saved: Esc in the message means "Zurück", not losing them.
    entries = os.path.join(WORKDIR, "Ratinor.ini")
    os.mkdir(entries)
    key("Escape")
    back = wait_for(lambda: descendant(application(), pyatspi.ROLE_PUSH_BUTTON, "Zurück"), 5)
    if check(back is not None, "a failed save asks what to do"):
        key("Escape")
        check(wait_for(lambda: not showing(back)) and showing(main_window),
              "Esc there goes back to the program")
    os.rmdir(entries)
    k.queryEditableText().setTextContents("30")


def x11_checks():
    main_id = x11_window("Ratinor 1.2")
    error_id = x11_window("Wert außerhalb des erlaubten Bereichs")
    check(main_id is not None and error_id is not None, "both windows are mapped")
    if main_id is None or error_id is None:
        return
    check('WM_CLASS(STRING) = "ratinor", "ratinor"' in xprop(main_id, "WM_CLASS"),
          "WM_CLASS matches the launcher's StartupWMClass")
    transient = xprop(error_id, "WM_TRANSIENT_FOR").split()[-1]
    check(int(transient, 16) == int(main_id), "the error window is transient for the main one")
    for title, window_id in (("main", main_id), ("error", error_id)):
        check("user specified location" not in xprop(window_id, "WM_NORMAL_HINTS"),
              f"the {title} window's place is left to the window manager")
        check("= 0x3, 0x4, 0xa, 0x0, 0x0" in xprop(window_id, "_MOTIF_WM_HINTS"),
              f"the {title} window asks for a title bar without buttons")
        check("MAXIMIZE" not in xprop(window_id, "_NET_WM_ALLOWED_ACTIONS"),
              f"the {title} window cannot be maximised")


main()
sys.exit(1 if failures else 0)
