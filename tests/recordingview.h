// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "windows/design.h"
#include "windows/savefailure.h"
#include "windows/view.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// A view that records every step the handlers take, in order, and answers a failed save
// as told.
class RecordingView : public View
{
public:
    QStringList steps;
    std::map<Box, std::string> texts;
    SaveFailureChoice answer = SaveFailureChoice::Back;
    std::optional<SaveFailureMessage> asked;

    static QString nameOf(Box box) { return QString::fromUtf8(design::control(box).name); }
    static QString nameOf(Window window) { return QString::fromUtf8(design::of(window).name); }

    QStringList shown(std::initializer_list<Box> boxes) const
    {
        QStringList result;
        for (const Box box : boxes)
            result << QString::fromStdString(text(box));
        return result;
    }
    // The steps other than setting texts.
    QStringList flow() const
    {
        QStringList result = steps;
        result.removeIf([](const QString &step) { return step.startsWith("text "); });
        return result;
    }

    std::string text(Box box) const override
    {
        const auto found = texts.find(box);
        return found == texts.end() ? std::string() : found->second;
    }
    void setText(Box box, std::string_view text) override
    {
        texts[box] = std::string(text);
        steps << "text " + nameOf(box) + " " + QString::fromUtf8(text);
    }
    void setFocus(Box box) override { steps << "focus " + nameOf(box); }
    void setMainEnabled(bool enabled) override
    {
        steps << (enabled ? "enable frmHaupt" : "disable frmHaupt");
    }
    void show(Window window) override { steps << "show " + nameOf(window); }
    void hide(Window window) override { steps << "hide " + nameOf(window); }
    SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &message) override
    {
        asked = message;
        steps << "ask";
        return answer;
    }
    void end() override { steps << "end"; }
};
