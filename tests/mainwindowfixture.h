// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/qt/frmhaupt.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The Qt main window, shown and active, in a working folder of its own, for tests of what
// the Qt front end adds.
struct MainWindowFixture
{
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<qt::frmHaupt> window;

    // For init(): a fresh folder, then the window.
    void start()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir::setCurrent(dir->path()));
        restart();
    }
    void restart()
    {
        window = std::make_unique<qt::frmHaupt>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    // For cleanup(): the main window owns its dialogs, so nothing may outlive it.
    void stop()
    {
        window.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    QLineEdit *box(const char *name) const { return window->findChild<QLineEdit *>(name); }
    template <typename Control> Control *control(const char *name) const
    {
        return window->findChild<Control *>(name);
    }
    void enter(const QString &k, const QString &own, const QString &opponent) const
    {
        box("Kwert")->setText(k);
        box("eigeneElo")->setText(own);
        box("GegnerElo")->setText(opponent);
    }
    QStringList outputs() const
    {
        return {box("EigeneElodanach")->text(), box("EigeneELOdifferenz")->text(),
                box("GegnerElodanach")->text(), box("GegnerELOdifferenz")->text()};
    }
};

// The shown top-level window of that name, or null.
inline QWidget *visibleTopLevel(const QString &name)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible())
            return window;
    }
    return nullptr;
}
