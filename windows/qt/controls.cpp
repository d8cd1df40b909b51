// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/controls.h"

#include "windows/qt/classicframe.h"
#include "windows/qt/entrybox.h"
#include "windows/qt/face.h"
#include "windows/qt/helptext.h"
#include "windows/qt/place.h"
#include "windows/qt/titlebar.h"
#include "windows/qt/utf8.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace qt {
namespace {

QWidget *bare(QWidget *parent, const design::Control &control)
{
    const QString caption = fromUtf8(control.caption);
    switch (control.kind) {
    case design::Kind::Label:
        return new QLabel(caption, parent);
    case design::Kind::TextBox:
        return new QLineEdit(caption, parent);
    case design::Kind::ReadOnlyText:
        return new QPlainTextEdit(caption, parent);
    case design::Kind::Frame:
        return new QGroupBox(caption, parent);
    case design::Kind::Option:
        return new QRadioButton(caption, parent);
    case design::Kind::Button:
        break;
    }
    return new QPushButton(caption, parent);
}

QWidget *classic(QWidget *parent, const design::WindowDesign &window,
                 const design::Control &control)
{
    const QString caption = fromUtf8(control.caption);
    switch (control.kind) {
    case design::Kind::Label: {
        auto *label = new QLabel(parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.font)
            label->setFont(classicFont(*control.font));
        // Wrapped here: Qt's own word wrap also breaks after a hyphen.
        label->setText(control.wordWrap ? wrappedAtBlanks(caption, label->fontMetrics(),
                                                          placeOf(window, control).width())
                                        : caption);
        return label;
    }
    case design::Kind::TextBox: {
        auto *box = new EntryBox(parent);
        box->setText(caption);
        if (control.typedLimit > 0)
            box->setTypedLimit(control.typedLimit);
        return box;
    }
    case design::Kind::ReadOnlyText: {
        auto *text = new HelpText(parent);
        // The platform's line end inside a Qt text is a line feed.
        text->setWrittenText(caption.split(QStringLiteral("\r\n")).join(u'\n'));
        return text;
    }
    case design::Kind::Frame: {
        auto *frame = new ClassicFrame(parent);
        frame->setTitle(caption);
        return frame;
    }
    case design::Kind::Option: {
        auto *option = new QRadioButton(caption, parent);
        option->setToolTip(fromUtf8(control.toolTip));
        option->setChecked(control.checkedAtStart);
        // The group is one stop of Tab and Shift+Tab, at the selected option: Qt's chain
        // would stop at each. The arrow keys still move within the group.
        const auto tabStopAtSelected = [option](bool checked) {
            option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        };
        tabStopAtSelected(option->isChecked());
        QObject::connect(option, &QRadioButton::toggled, option, tabStopAtSelected);
        return option;
    }
    case design::Kind::Button:
        break;
    }
    auto *button = new QPushButton(parent);
    button->setDefault(control.role == design::Role::Default);
    // A push button draws one line each: the caption is broken at blanks to its width.
    const int room = placeOf(window, control).width()
        - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    button->setText(wrappedAtBlanks(caption, button->fontMetrics(), room));
    return button;
}

bool takesFocus(design::Kind kind)
{
    return kind != design::Kind::Label && kind != design::Kind::Frame;
}

} // namespace

QPalette::ColorRole roleOf(design::SystemColour colour)
{
    return colour == design::SystemColour::Light3D ? QPalette::Midlight : QPalette::Button;
}

void setUpWindow(QWidget *window, const design::WindowDesign &design)
{
    window->setObjectName(fromUtf8(design.name));
    window->setWindowTitle(fromUtf8(design.caption));
    // Without an icon of its own a window shows none, not its owner's.
    window->setWindowIcon(design.hasIcon ? ratinorIcon() : QIcon());
    window->setFont(classicFont());
    window->setFixedSize(clientSize(design));
    if (design.systemMenu)
        window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask)
                               | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                               | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    else
        setTitleOnlyDecorations(window);
    if (design.background != design::SystemColour::None) {
        QPalette colours = window->palette();
        colours.setColor(QPalette::Window, colours.color(roleOf(design.background)));
        window->setPalette(colours);
        window->setAutoFillBackground(true);
    }
}

void createControls(QWidget *window, const design::WindowDesign &design, Dress dress)
{
    QWidget *frame = window;
    std::vector<std::pair<int, QWidget *>> tabStops;
    for (const design::Control &control : design.controls) {
        QWidget *parent = control.kind == design::Kind::Option ? frame : window;
        QWidget *widget = dress == Dress::Bare ? bare(parent, control)
                                               : classic(parent, design, control);
        widget->setObjectName(fromUtf8(control.name));
        widget->setGeometry(placeOf(design, control));
        if (control.kind == design::Kind::Frame)
            frame = widget;
        if (dress == Dress::Bare)
            continue;
        widget->setAccessibleName(fromUtf8(design::accessibleName(design, control)));
        if (control.background != design::SystemColour::None) {
            QPalette colours = widget->palette();
            colours.setColor(QPalette::Base, colours.color(roleOf(control.background)));
            widget->setPalette(colours);
        }
        if (takesFocus(control.kind))
            tabStops.emplace_back(control.tabIndex, widget);
    }
    if (dress == Dress::Bare)
        return;
    for (const design::Control &control : design.controls) {
        if (!control.labels.empty())
            window->findChild<QLabel *>(fromUtf8(control.name), Qt::FindDirectChildrenOnly)
                ->setBuddy(window->findChild<QWidget *>(fromUtf8(control.labels)));
    }
    std::sort(tabStops.begin(), tabStops.end());
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
}

} // namespace qt
