// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/savefailure.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include <system_error>

namespace {

QString reasonFor(const storage::SaveError &failure)
{
    using Kind = storage::SaveError::Kind;
    const QString oldKept = failure.oldKept ? QStringLiteral(" Der alte Inhalt ist erhalten.")
                                            : QString();
    switch (failure.kind) {
    case Kind::Directory:
        return QStringLiteral("An ihrer Stelle steht ein Verzeichnis mit demselben Namen.");
    case Kind::NotRegularFile:
        return QStringLiteral("Unter diesem Namen steht keine gewöhnliche Datei, sondern ein "
                              "Gerät, eine Pipe oder ein Socket. Es bleibt unverändert.");
    case Kind::UntrustedLink:
        return QStringLiteral("Sie ist eine Verknüpfung, die ein anderer Benutzer in diesem "
                              "für alle beschreibbaren Ordner angelegt hat. Ihr wird zum "
                              "Schutz Ihrer Dateien nicht gefolgt.");
    case Kind::ReadOnly:
        return QStringLiteral("Sie ist schreibgeschützt, oder die Schreibberechtigung fehlt.");
    case Kind::FolderGone:
        return QStringLiteral("Der Arbeitsordner, in dem sie liegen soll, besteht nicht mehr.");
    case Kind::CannotCreate:
        return QStringLiteral("Sie lässt sich dort nicht anlegen, zum Beispiel weil die "
                              "Schreibberechtigung fehlt.");
    case Kind::DiskFull:
        return QStringLiteral("Der Datenträger ist voll, oder eine Grenze für Speicherplatz "
                              "oder Dateigröße ist erreicht.")
            + oldKept;
    case Kind::CannotWrite:
        return QStringLiteral("Sie ließ sich nicht vollständig schreiben.") + oldKept;
    }
    return {};
}

} // namespace

SaveFailureChoice askAfterSaveFailure(QWidget *parent, const QString &filePath,
                                      const storage::SaveError &failure)
{
    QString reason = reasonFor(failure);
    if (failure.error != 0)
        reason += QStringLiteral(" (Meldung des Systems: %1)")
                      .arg(QString::fromStdString(std::generic_category().message(failure.error)));

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Ratinor 1.2"),
                    QStringLiteral("Die eingegebenen Werte konnten nicht in der Datei „%1“ "
                                   "gespeichert werden.")
                        .arg(QDir::toNativeSeparators(filePath)),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("saveFailure"));
    box.setInformativeText(reason
                           + QStringLiteral("\n\nMit „Trotzdem beenden“ gehen die Werte "
                                            "verloren; mit „Zurück“ bleibt das Programm offen."));
    QPushButton *endAnyway = box.addButton(QStringLiteral("Trotzdem beenden"),
                                           QMessageBox::DestructiveRole);
    QPushButton *back = box.addButton(QStringLiteral("Zurück"), QMessageBox::RejectRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == endAnyway ? SaveFailureChoice::EndAnyway
                                            : SaveFailureChoice::Back;
}
