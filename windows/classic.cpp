#include "windows/classic.h"

#include "windows/twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace {
#include "windows/icons/ratinor.xpm"

void loadClassicFace()
{
    static const bool loaded = [] {
        if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
            return true;
        // Debian's fonts-wine; fontconfig hides it as a bitmap-only face.
        const QString file = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
        return QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0;
    }();
    (void)loaded;
}

} // namespace

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

QIcon ratinorIcon()
{
    return {QPixmap(ratinor_xpm)};
}

void setFixedClientArea(QWidget *window, int width, int height)
{
    window->setFixedSize(twipsSize(width, height));
}

ClassicDialog::ClassicDialog(Qt::WindowFlags flags) : QDialog(nullptr, flags)
{
    setFont(classicFont());
}

QPushButton *ClassicDialog::addOkButton(const QRect &geometry)
{
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdFehlerOK"));
    m_ok->setGeometry(geometry);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &ClassicDialog::cmdFehlerOK_Click);
    return m_ok;
}

void ClassicDialog::reject()
{ }

void ClassicDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_ok)
        m_ok->setFocus();
    activateWindow();
}

void ClassicDialog::closeEvent(QCloseEvent *event)
{
    event->ignore(); // OK hides the window itself
    cmdFehlerOK_Click();
}
