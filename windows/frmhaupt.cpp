// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhaupt.h"

#include "calc/conversion.h"
#include "calc/rating.h"
#include "storage/entriesfile.h"
#include "windows/fehler.h"
#include "windows/hilfe.h"
#include "windows/look.h"
#include "windows/modalflow.h"
#include "windows/savefailure.h"
#include "windows/twips.h"
#include "windows/typedlimit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The entries file, by its relative name: it lives in the working directory.
QString entriesFileName()
{
    return QStringLiteral("Ratinor.ini");
}

std::filesystem::path pathOf(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

template <typename Control>
Control *makeControl(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *label = makeControl<QLabel>(parent, name, geometry);
    label->setText(caption);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit *makeBox(QWidget *parent, const char *name, const QString &accessibleName,
                   const QRect &geometry)
{
    auto *box = makeControl<QLineEdit>(parent, name, geometry);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setAccessibleName(accessibleName);
    ignoreAltLetters(box);
    return box;
}

QLineEdit *makeEntryBox(QWidget *parent, const char *name, const QString &accessibleName,
                        const QRect &geometry, int maxTyped)
{
    auto *box = makeBox(parent, name, accessibleName, geometry);
    box->setValidator(new TypedLengthLimit(maxTyped, box));
    return box;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QRect &geometry)
{
    auto *button = makeControl<QPushButton>(parent, name, geometry);
    button->setText(caption);
    return button;
}

QRadioButton *makeOption(QWidget *frame, const char *name, const QString &caption,
                         const QString &toolTip, const QRect &geometry)
{
    auto *option = makeControl<QRadioButton>(frame, name, geometry);
    option->setText(caption);
    option->setToolTip(toolTip);
    return option;
}

std::string text(const QLineEdit *box)
{
    return box->text().toStdString();
}

void showText(QLineEdit *box, const std::string &text)
{
    setProgramText(box, QString::fromStdString(text));
}

} // namespace

frmHaupt::frmHaupt(QWidget *parent) : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHaupt"));
    setWindowTitle(QStringLiteral("Ratinor 1.2"));
    setWindowIcon(ratinorIcon());
    setFont(classicFont());
    setFixedClientArea(this, 3150, 3000);
    setTitleOnlyDecorations(this);
    m_flow = new ModalFlow(this);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Midlight));
    setPalette(colours);
    setAutoFillBackground(true);

    Label6 = makeLabel(this, "Label6", QStringLiteral("\"K\" festlegen"),
                       twipsRect(120, 120, 1095, 255));
    Kwert = makeEntryBox(this, "Kwert", QStringLiteral("K-Wert"), twipsRect(1320, 120, 495, 375),
                         2);
    cmdHilfe = makeButton(this, "cmdHilfe", QStringLiteral("Hilfe"),
                          twipsRect(1920, 120, 1095, 375));
    Label1 = makeLabel(this, "Label1", QStringLiteral("Eigene ELO"),
                       twipsRect(120, 600, 1215, 255));
    eigeneElo = makeEntryBox(this, "eigeneElo", QStringLiteral("Eigene ELO"),
                             twipsRect(1320, 600, 495, 375), 4);
    EigeneElodanach = makeBox(this, "EigeneElodanach", QStringLiteral("Eigene ELO danach"),
                              twipsRect(1920, 600, 495, 375));
    EigeneELOdifferenz = makeBox(this, "EigeneELOdifferenz", QStringLiteral("Eigene ELO Differenz"),
                                 twipsRect(2520, 600, 495, 375));
    Label2 = makeLabel(this, "Label2", QStringLiteral("Gegner ELO"),
                       twipsRect(120, 1080, 1095, 255));
    GegnerElo = makeEntryBox(this, "GegnerElo", QStringLiteral("Gegner ELO"),
                             twipsRect(1320, 1080, 495, 375), 4);
    GegnerElodanach = makeBox(this, "GegnerElodanach", QStringLiteral("Gegner ELO danach"),
                              twipsRect(1920, 1080, 495, 375));
    GegnerELOdifferenz = makeBox(this, "GegnerELOdifferenz", QStringLiteral("Gegner ELO Differenz"),
                                 twipsRect(2520, 1080, 495, 375));
    Frame1 = makeControl<ClassicFrame>(this, "Frame1", twipsRect(120, 1560, 1695, 1335));
    Frame1->setTitle(QStringLiteral("Ergebnis"));
    // Each option reaches to the frame's border on the right, past its designed width
    // (1095, 1455 and 1095 twips): a style with a wider circle and spacing, such as
    // Adwaita, would otherwise cut off "Gewonnen" and "Unentschieden".
    constexpr int optionWidth = 1695 - 120 - 60;
    optGewonnen = makeOption(Frame1, "optGewonnen", QStringLiteral("Gewonnen"),
                             QStringLiteral("Klicken Sie hier, wenn sie das Spiel gewonnen haben"),
                             twipsRect(120, 240, optionWidth, 255));
    optUnentschieden = makeOption(
        Frame1, "optUnentschieden", QStringLiteral("Unentschieden"),
        QStringLiteral("Klicken Sie hier, wenn das Spiel unentschieden geendet hat."),
        twipsRect(120, 600, optionWidth, 255));
    optVerloren = makeOption(Frame1, "optVerloren", QStringLiteral("Verloren"),
                             QStringLiteral("Klicken Sie hier, wenn Sie das Spiel verloren haben"),
                             twipsRect(120, 960, optionWidth, 255));
    optGewonnen->setChecked(true);
    Berechnen = makeButton(this, "Berechnen", QStringLiteral("Neue ELO\nBerechnen"),
                           twipsRect(1920, 1560, 1095, 615));
    Berechnen->setAccessibleName(QStringLiteral("Neue ELO Berechnen"));
    Berechnen->setDefault(true);
    Ende = makeButton(this, "Ende", QStringLiteral("Ende"), twipsRect(1920, 2280, 1095, 615));

    Label6->setBuddy(Kwert);
    Label1->setBuddy(eigeneElo);
    Label2->setBuddy(GegnerElo);

    QWidget *const tabOrder[] = {
        Kwert,           eigeneElo,          GegnerElo,       Berechnen,          Ende,
        EigeneElodanach, EigeneELOdifferenz, GegnerElodanach, GegnerELOdifferenz, cmdHilfe,
        optGewonnen,     optVerloren,        optUnentschieden};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connectOption(optGewonnen, &frmHaupt::optGewonnen_Click);
    connectOption(optUnentschieden, &frmHaupt::optUnentschieden_Click);
    connectOption(optVerloren, &frmHaupt::optVerloren_Click);
    connect(Berechnen, &QPushButton::clicked, this, &frmHaupt::Berechnen_Click);
    connect(cmdHilfe, &QPushButton::clicked, this, &frmHaupt::cmdHilfe_Click);
    connect(Ende, &QPushButton::clicked, this, &frmHaupt::Ende_Click);

    // Named in messages as it is now: the working folder may be gone by the time of a save.
    m_entriesFilePath = QDir::current().absoluteFilePath(entriesFileName());
    Form_Load();
    Kwert->setFocus();
}

bool frmHaupt::FileExists(const QString &FileName) const
{
    return storage::exists(pathOf(FileName));
}

void frmHaupt::Form_Load()
{
    storage::StoredEntries stored;
    if (FileExists(entriesFileName()))
        stored = storage::load(pathOf(entriesFileName()));
    // Each entry the file cannot give starts from its default.
    const auto entry = [](const std::optional<std::int16_t> &value, const char *fallback) {
        return value ? QString::fromStdString(calc::entryText(*value))
                     : QString::fromLatin1(fallback);
    };
    setProgramText(Kwert, entry(stored.k, "30"));
    setProgramText(eigeneElo, entry(stored.own, "0"));
    setProgramText(GegnerElo, entry(stored.opponent, "0"));
    m_gameScore = 1.0;
}

void frmHaupt::Rechnen()
{
    const calc::Calculation calculation = calc::calculate(
        {text(Kwert), text(eigeneElo), text(GegnerElo)}, m_gameScore);
    showText(Kwert, calculation.entries.k);
    showText(eigeneElo, calculation.entries.own);
    showText(GegnerElo, calculation.entries.opponent);
    if (calculation.focus) {
        switch (*calculation.focus) {
        case calc::Entry::K:
            Kwert->setFocus();
            break;
        case calc::Entry::Own:
            eigeneElo->setFocus();
            break;
        case calc::Entry::Opponent:
            GegnerElo->setFocus();
            break;
        }
    }
    if (!calculation.results) {
        if (!m_fehler)
            m_fehler = new Fehler(this, *m_flow);
        m_flow->disableMain();
        m_fehler->show();
        return;
    }
    showText(EigeneElodanach, calculation.results->newOwn);
    showText(EigeneELOdifferenz, calculation.results->ownChange);
    showText(GegnerElodanach, calculation.results->newOpponent);
    showText(GegnerELOdifferenz, calculation.results->opponentChange);
}

void frmHaupt::connectOption(QRadioButton *option, void (frmHaupt::*handler)())
{
    // The group is one stop of Tab and Shift+Tab, at the selected option: Qt's chain
    // would stop at each. The arrow keys still move within the group.
    const auto tabStopAtSelected = [option](bool checked) {
        option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    };
    tabStopAtSelected(option->isChecked());
    connect(option, &QRadioButton::toggled, option, tabStopAtSelected);
    // Checking an option calculates, however it is checked: mouse, keys, or a screen
    // reader's toggle action, which never clicks. Clicking the option that is already
    // checked toggles nothing and calculates too.
    connect(option, &QRadioButton::toggled, this, [this, handler](bool checked) {
        if (checked)
            (this->*handler)();
    });
    connect(option, &QRadioButton::pressed, this,
            [this, option] { m_optionWasChecked = option->isChecked(); });
    connect(option, &QRadioButton::clicked, this, [this, handler] {
        if (m_optionWasChecked)
            (this->*handler)();
    });
}

void frmHaupt::optGewonnen_Click()
{
    m_gameScore = 1.0;
    Rechnen();
}

void frmHaupt::optUnentschieden_Click()
{
    m_gameScore = 0.5;
    Rechnen();
}

void frmHaupt::optVerloren_Click()
{
    m_gameScore = 0.0;
    Rechnen();
}

void frmHaupt::Berechnen_Click()
{
    Rechnen();
}

void frmHaupt::cmdHilfe_Click()
{
    if (!m_hilfe)
        m_hilfe = new Hilfe(this, *m_flow);
    m_hilfe->show();
    m_flow->disableMain();
}

void frmHaupt::Ende_Click()
{
    if (saveEntries())
        endProgram();
}

bool frmHaupt::saveEntries()
{
    // Saved as typed, unchecked; a value beyond 16 bits as the nearest bound.
    const auto failure = storage::save(
        pathOf(entriesFileName()), calc::clampedEntryValue(text(Kwert)),
        calc::clampedEntryValue(text(eigeneElo)), calc::clampedEntryValue(text(GegnerElo)));
    return !failure
        || askAfterSaveFailure(this, m_entriesFilePath, *failure) == SaveFailureChoice::EndAnyway;
}

void frmHaupt::reject()
{
    Ende_Click();
}

void frmHaupt::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager, not by "Ende": end without saving the entries.
    event->accept();
    endProgram();
}

void frmHaupt::showEvent(QShowEvent *event)
{
    // Not QDialog's: it centres the window, and X11 then reports that place as the user's
    // choice. The window manager places the main window itself.
    QWidget::showEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

void frmHaupt::endProgram()
{
    if (m_fehler)
        m_fehler->hide();
    if (m_hilfe)
        m_hilfe->hide();
    hide();
    emit ended();
}
