// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/qt/savefailurebox.h"

#include "windows/qt/face.h"
#include "windows/qt/utf8.h"
#include "windows/texts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace qt {

SaveFailureChoice askAfterSaveFailure(QWidget *parent, const SaveFailureMessage &message)
{
    QMessageBox box(QMessageBox::Warning, fromUtf8(texts::programName), QString(),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("saveFailure"));
    // Lines of the path stay well within the width up to which the box wraps its text.
    const std::string path = wrappedAnywhere(message.path, measureWith(QFontMetrics(box.font())),
                                             300);
    box.setText(fromUtf8(message.heading(path)));
    box.setInformativeText(fromUtf8(message.details()));
    // A folder's name is text, never markup: "<img src=…>" in it would make Qt load a file.
    box.setTextFormat(Qt::PlainText);
    for (QLabel *label : box.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    QPushButton *endAnyway = box.addButton(fromUtf8(texts::endAnyway),
                                           QMessageBox::DestructiveRole);
    QPushButton *back = box.addButton(fromUtf8(texts::back), QMessageBox::RejectRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == endAnyway ? SaveFailureChoice::EndAnyway
                                            : SaveFailureChoice::Back;
}

} // namespace qt
