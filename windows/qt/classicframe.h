// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QGroupBox>

namespace qt {

// A frame drawn the classic way: an etched line whose top runs through the middle of the
// caption, so the controls placed inside it clear the line at every scale.
class ClassicFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit ClassicFrame(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qt
