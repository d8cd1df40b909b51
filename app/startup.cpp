// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "windows/qt/frmhaupt.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// While the window system connects, Qt's messages are held back: if it fails, Qt would
// print English and abort with a core dump, and the user gets one German line instead.
std::vector<std::pair<QtMsgType, QString>> heldBack;
QtMessageHandler qtHandler = nullptr;

void holdBack(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("Ratinor braucht eine grafische Oberfläche (X11 oder Wayland), "
                   "findet aber keine.\n",
                   stderr);
        std::_Exit(1);
    }
    (void)context;
    heldBack.emplace_back(type, message);
}

} // namespace

bool installGermanQtTexts()
{
    auto *texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(texts);
}

int runProgram(int argc, char *argv[], const std::function<void(QWidget &)> &onMainWindow)
{
#ifdef SIGXFSZ
    // A file-size limit (ulimit -f) makes a write fail like a full disk; its signal would
    // end the program before the save could say so.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The program takes no command line: Qt sees its name only, and none of its options.
    int qtArgc = argc > 0 ? 1 : 0;
    char *qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    qtHandler = qInstallMessageHandler(holdBack);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(qtHandler);
    for (const auto &[type, message] : heldBack)
        qt_message_output(type, QMessageLogContext(), message);
    heldBack.clear();

    QGuiApplication::setDesktopFileName(QStringLiteral("de.ratinor.Ratinor"));
    installGermanQtTexts();
    qt::frmHaupt window;
    QObject::connect(&window, &qt::frmHaupt::ended, &app, &QCoreApplication::quit);
    if (onMainWindow)
        onMainWindow(window);
    window.show();
    return QApplication::exec();
}
