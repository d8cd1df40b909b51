// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/face.h"

#include "windows/qt/utf8.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include <array>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

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

} // namespace

namespace qt {

QFont classicFont(const design::Font &font)
{
    // The bitmap face has strikes for one scale only, and no bold: Qt scales its glyphs
    // apart instead of picking a larger strike. A narrow outline face takes its place
    // wherever it cannot be drawn as it is.
    const QString face = fromUtf8(font.face);
    const bool bitmapFits = !font.bold && qGuiApp->devicePixelRatio() == 1.0;
    QStringList families {QStringLiteral("Liberation Sans Narrow"),
                          QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Arial Narrow"),
                          QStringLiteral("DejaVu Sans Condensed")};
    if (bitmapFits) {
        loadClassicFace();
        families.prepend(face);
    }
    QFont shown;
    shown.setFamilies(families);
    shown.setPointSizeF(font.points);
    shown.setBold(font.bold);
    return shown;
}

Measure measureWith(const QFontMetrics &metrics)
{
    return [metrics](std::string_view text) { return metrics.horizontalAdvance(fromUtf8(text)); };
}

QString wrappedAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    return QString::fromStdString(
        ::wrappedAtBlanks(text.toStdString(), measureWith(metrics), width));
}

} // namespace qt
