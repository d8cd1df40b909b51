// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/savefailure.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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
                              "auch für andere beschreibbaren Ordner angelegt hat. Ihr wird "
                              "zum Schutz Ihrer Dateien nicht gefolgt.");
    case Kind::LinkLoop:
        return QStringLiteral("Sie ist eine Verknüpfung, die über weitere Verknüpfungen im "
                              "Kreis wieder auf sich selbst zeigt.");
    case Kind::LinkTargetMissing:
        return QStringLiteral("Sie ist eine Verknüpfung in einen Ordner, der nicht besteht.");
    case Kind::ReadOnly:
        return QStringLiteral("Sie ist schreibgeschützt, oder die Schreibberechtigung fehlt.");
    case Kind::FolderGone:
        return QStringLiteral("Der Arbeitsordner, in dem sie liegen soll, besteht nicht mehr.");
    case Kind::CannotCreate:
        // Permission is named only where the system says it is missing.
        if (const auto reason = storage::reasonOf(failure.error);
            reason == storage::SystemReason::AccessDenied
            || reason == storage::SystemReason::NotPermitted)
            return QStringLiteral("Sie lässt sich dort nicht anlegen, weil die "
                                  "Schreibberechtigung fehlt.");
        return QStringLiteral("Sie lässt sich dort nicht anlegen.");
    case Kind::DiskFull:
        return QStringLiteral("Der Datenträger ist voll, oder eine Grenze für Speicherplatz "
                              "oder Dateigröße ist erreicht.")
            + oldKept;
    case Kind::CannotWrite:
        return QStringLiteral("Sie ließ sich nicht vollständig schreiben.") + oldKept;
    case Kind::ConnectionLost:
        return QStringLiteral("Die Verbindung zu dem Netzlaufwerk, auf dem sie liegt, ist "
                              "unterbrochen.")
            + oldKept;
    case Kind::DriveFault:
        return QStringLiteral("Der Datenträger, auf dem sie liegt, oder die Verbindung zu ihm "
                              "meldet einen Fehler beim Lesen oder Schreiben.")
            + oldKept;
    }
    return {};
}

// The system's reason in the program's own German words, whatever the locale and the
// platform; empty where it has none.
QString detailFor(storage::SystemReason reason)
{
    using Reason = storage::SystemReason;
    switch (reason) {
    case Reason::None:
        return {};
    case Reason::NoSpace:
        return QStringLiteral("kein Platz mehr auf dem Datenträger");
    case Reason::Quota:
        return QStringLiteral("Speicherplatzkontingent überschritten");
    case Reason::FileTooLarge:
        return QStringLiteral("Datei zu groß");
    case Reason::AccessDenied:
        return QStringLiteral("Zugriff verweigert");
    case Reason::NotPermitted:
        return QStringLiteral("Vorgang nicht erlaubt");
    case Reason::ReadOnlyFileSystem:
        return QStringLiteral("Dateisystem nur lesbar");
    case Reason::InputOutput:
        return QStringLiteral("Ein- oder Ausgabefehler des Datenträgers");
    case Reason::NotFound:
        return QStringLiteral("Datei oder Ordner nicht gefunden");
    case Reason::NotAFolder:
        return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case Reason::IsAFolder:
        return QStringLiteral("ist ein Ordner");
    case Reason::TooManyLinks:
        return QStringLiteral("zu viele Ebenen von Verknüpfungen");
    case Reason::NameTooLong:
        return QStringLiteral("Name zu lang");
    case Reason::Busy:
        return QStringLiteral("Gerät oder Datei belegt");
    case Reason::InUse:
        return QStringLiteral("Datei wird gerade benutzt");
    case Reason::OutOfMemory:
        return QStringLiteral("nicht genug Arbeitsspeicher");
    case Reason::TooManyOpenFiles:
        return QStringLiteral("zu viele offene Dateien");
    case Reason::StaleHandle:
        return QStringLiteral("die Netzwerkfreigabe kennt die Datei nicht mehr");
    case Reason::NotConnected:
        return QStringLiteral("keine Verbindung zum Netzlaufwerk");
    case Reason::HostDown:
        return QStringLiteral("der Rechner mit der Freigabe ist nicht in Betrieb");
    case Reason::HostUnreachable:
        return QStringLiteral("der Rechner mit der Freigabe ist nicht erreichbar");
    case Reason::ConnectionAborted:
        return QStringLiteral("die Verbindung zum Netzlaufwerk wurde abgebrochen");
    case Reason::ConnectionReset:
        return QStringLiteral("die Verbindung wurde von der Gegenseite getrennt");
    case Reason::TimedOut:
        return QStringLiteral("das Netzlaufwerk hat nicht rechtzeitig geantwortet");
    case Reason::NetworkDown:
        return QStringLiteral("das Netzwerk ist nicht erreichbar");
    }
    return {};
}

// The path in lines no wider than width, broken wherever a line would overflow: a folder
// name may be long and hold no blank. Never inside a character that takes two UTF-16 units.
QString wrappedAnywhere(const QString &path, const QFontMetrics &metrics, int width)
{
    QString wrapped;
    QString line;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const qsizetype length = path[i].isHighSurrogate() && i + 1 < path.size() ? 2 : 1;
        const QString character = path.mid(i, length);
        i += length - 1;
        if (!line.isEmpty() && metrics.horizontalAdvance(line + character) > width) {
            wrapped += line + u'\n';
            line.clear();
        }
        line += character;
    }
    return wrapped + line;
}

} // namespace

SaveFailureChoice askAfterSaveFailure(QWidget *parent, const QString &filePath,
                                      const storage::SaveError &failure)
{
    QString reason = reasonFor(failure);
    if (const QString detail = detailFor(storage::reasonOf(failure.error)); !detail.isEmpty())
        reason += QStringLiteral(" (Meldung des Systems: %1)").arg(detail);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Ratinor 1.2"), QString(),
                    QMessageBox::NoButton, parent);
    // Lines of the path stay well within the width up to which the box wraps its text.
    const QString path = wrappedAnywhere(QDir::toNativeSeparators(filePath),
                                         QFontMetrics(box.font()), 300);
    box.setText(QStringLiteral("Die eingegebenen Werte konnten nicht in der Datei „%1“ "
                               "gespeichert werden.")
                    .arg(path));
    box.setObjectName(QStringLiteral("saveFailure"));
    box.setInformativeText(reason
                           + QStringLiteral("\n\nMit „Trotzdem beenden“ gehen die Werte "
                                            "verloren; mit „Zurück“ bleibt das Programm offen."));
    // A folder's name is text, never markup: "<img src=…>" in it would make Qt load a file.
    box.setTextFormat(Qt::PlainText);
    for (QLabel *label : box.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    QPushButton *endAnyway = box.addButton(QStringLiteral("Trotzdem beenden"),
                                           QMessageBox::DestructiveRole);
    QPushButton *back = box.addButton(QStringLiteral("Zurück"), QMessageBox::RejectRole);
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == endAnyway ? SaveFailureChoice::EndAnyway
                                            : SaveFailureChoice::Back;
}
