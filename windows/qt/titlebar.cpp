// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/titlebar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

#include <cstdint>
#include <cstdlib>

namespace {
#include "windows/icons/ratinor.xpm"

// Writes X11's Motif hints for a title bar alone: moving is the only function, the border
// and the title the only decorations. Qt writes them only when some button is wanted,
// so window managers such as openbox would otherwise add their own buttons.
class TitleOnlyHints : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A top-level widget gets its show event after its native window exists and
        // before it is mapped, which is when a window manager reads the hints.
        if (event->type() == QEvent::Show)
            write(static_cast<QWidget *>(watched));
        return false;
    }

private:
    static void write(QWidget *window)
    {
#if QT_CONFIG(xcb)
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
        if (!connection)
            return; // not X11: the compositor decides (see docs/look.md)
        // Asked for once: a server round trip, and the same atom for every window.
        static const xcb_atom_t atom = [connection] {
            static constexpr char name[] = "_MOTIF_WM_HINTS";
            xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
            const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
            return found;
        }();
        if (atom == XCB_ATOM_NONE)
            return;
        enum : std::uint32_t {functionsAndDecorations = 1 | 2, move = 4, border = 2, title = 8};
        const std::uint32_t hints[5] = {functionsAndDecorations, move, border | title, 0, 0};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                            static_cast<xcb_window_t>(window->winId()), atom, atom, 32, 5, hints);
#else
        (void)window;
#endif
    }
};

} // namespace

namespace qt {

QIcon ratinorIcon()
{
    return {QPixmap(ratinor_xpm)};
}

void setTitleOnlyDecorations(QWidget *window)
{
    // Qt's own flags for a bare title bar, and the Motif hints that Qt leaves out for it.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint
                           | Qt::WindowTitleHint);
    window->installEventFilter(new TitleOnlyHints(window));
}

} // namespace qt
