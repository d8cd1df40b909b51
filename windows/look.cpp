// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/look.h"

#include "windows/twips.h"

#include <qdrawutil.h>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTranslator>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

#include <array>
#include <cstdint>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
#include "windows/icons/ratinor.xpm"

// While one lives, the process works in the root folder. Qt's first application font
// makes fontconfig look up a made-up relative name (":/non-existent"); in the working
// folder, a network share may answer that with errors for seconds, and the entries file's
// save would meet them.
class InRootFolder
{
public:
    InRootFolder()
    {
#ifdef Q_OS_UNIX
        // Only where the way back is sure: a folder the process may search, by descriptor
        // and by name.
        m_working = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_working >= 0
            && (::faccessat(AT_FDCWD, ".", X_OK, AT_EACCESS) != 0
                || ::getcwd(m_path.data(), m_path.size()) == nullptr || ::chdir("/") != 0)) {
            ::close(m_working);
            m_working = -1;
        }
#endif
    }
    ~InRootFolder()
    {
#ifdef Q_OS_UNIX
        // Back in the working folder, where the entries file belongs, by its name where
        // the descriptor will not do.
        if (m_working >= 0) {
            if (::fchdir(m_working) != 0) {
                [[maybe_unused]] const int back = ::chdir(m_path.data());
            }
            ::close(m_working);
        }
#endif
    }
    InRootFolder(const InRootFolder &) = delete;
    InRootFolder &operator=(const InRootFolder &) = delete;

private:
#ifdef Q_OS_UNIX
    std::array<char, 4096> m_path = {};
#endif
    int m_working = -1;
};

void loadClassicFace()
{
    static const bool loaded = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
            return true;
        // Debian's fonts-wine; fontconfig hides it as a bitmap-only face.
        const QString file = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
        const InRootFolder inRoot;
        return QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0;
    }();
    (void)loaded;
}

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
            return; // not X11: the compositor decides (see the README)
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

void setTitleOnlyDecorations(QWidget *window)
{
    // Qt's own flags for a bare title bar, and the Motif hints that Qt leaves out for it.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint
                           | Qt::WindowTitleHint);
    window->installEventFilter(new TitleOnlyHints(window));
}

QFont classicFont(double pointSize, bool bold)
{
    // The bitmap face has strikes for one scale only, and no bold: Qt scales its glyphs
    // apart instead of picking a larger strike. A narrow outline face takes
    // its place wherever it cannot be drawn as it is.
    const bool bitmapFits = !bold && qGuiApp->devicePixelRatio() == 1.0;
    QStringList families {QStringLiteral("Liberation Sans Narrow"),
                          QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Arial Narrow"),
                          QStringLiteral("DejaVu Sans Condensed")};
    if (bitmapFits) {
        loadClassicFace();
        families.prepend(QStringLiteral("MS Sans Serif"));
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QString wrappedAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    // Only blanks become line breaks, so the text keeps every character it had. Blanks at
    // a line's end take no room, as in a classic text box.
    const auto fits = [&](const QString &line) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ')
            --end;
        return metrics.horizontalAdvance(line.left(end)) <= width;
    };
    QStringList wrapped;
    for (const QString &paragraph : text.split(u'\n')) {
        const QStringList words = paragraph.split(u' ');
        QString lines = words.first();
        qsizetype lineStart = 0;
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (fits(lines.mid(lineStart) + u' ' + words[i])) {
                lines += u' ' + words[i];
            } else {
                lines += u'\n' + words[i];
                lineStart = lines.size() - words[i].size();
            }
        }
        wrapped << lines;
    }
    return wrapped.join(u'\n');
}

bool installGermanQtTexts()
{
    auto *texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(texts);
}

ClassicFrame::ClassicFrame(QWidget *parent) : QGroupBox(parent)
{ }

void ClassicFrame::paintEvent(QPaintEvent *event)
{
    (void)event;
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1);
    // The caption stands on the line, on the window's own background.
    const QString caption = title();
    // One letter in; the bitmap face reports no usable average character width.
    const QRect captionRect(metrics.horizontalAdvance(QLatin1Char('x')), 0,
                            metrics.horizontalAdvance(caption) + 4, metrics.height());
    painter.fillRect(captionRect, palette().window());
    style()->drawItemText(&painter, captionRect, Qt::AlignCenter, palette(), isEnabled(), caption,
                          QPalette::WindowText);
}

QIcon ratinorIcon()
{
    return {QPixmap(ratinor_xpm)};
}

void setFixedClientArea(QWidget *window, int width, int height)
{
    window->setFixedSize(twipsSize(width, height));
}
