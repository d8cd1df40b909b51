// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/qt/okonlydialog.h"

namespace qt {

class HelpText;

// The help window: each opening starts with the focus at the top of its text.
class Hilfe : public OkOnlyDialog
{
    Q_OBJECT
public:
    Hilfe(QWidget *main, std::function<void()> ok);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    HelpText *Text1 = nullptr;
};

} // namespace qt
