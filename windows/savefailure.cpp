// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/savefailure.h"

#include "windows/texts.h"

#include <utility>

namespace {

std::string causeOf(const storage::SaveError &failure)
{
    using Kind = storage::SaveError::Kind;
    const std::string oldKept = failure.oldKept ? " Der alte Inhalt ist erhalten." : "";
    switch (failure.kind) {
    case Kind::Directory:
        return "An ihrer Stelle steht ein Verzeichnis mit demselben Namen.";
    case Kind::NotRegularFile:
        return "Unter diesem Namen steht keine gewöhnliche Datei, sondern ein Gerät, eine Pipe "
               "oder ein Socket. Es bleibt unverändert.";
    case Kind::UntrustedLink:
        return "Sie ist eine Verknüpfung, die ein anderer Benutzer in diesem auch für andere "
               "beschreibbaren Ordner angelegt hat. Ihr wird zum Schutz Ihrer Dateien nicht "
               "gefolgt.";
    case Kind::LinkLoop:
        return "Sie ist eine Verknüpfung, die über weitere Verknüpfungen im Kreis wieder auf "
               "sich selbst zeigt.";
    case Kind::LinkTargetMissing:
        return "Sie ist eine Verknüpfung in einen Ordner, der nicht besteht.";
    case Kind::ReadOnly:
        return "Sie ist schreibgeschützt, oder die Schreibberechtigung fehlt.";
    case Kind::FolderGone:
        return "Der Arbeitsordner, in dem sie liegen soll, besteht nicht mehr.";
    case Kind::CannotCreate:
        // Permission is named only where the system says it is missing.
        if (const auto reason = storage::reasonOf(failure.error);
            reason == storage::SystemReason::AccessDenied
            || reason == storage::SystemReason::NotPermitted)
            return "Sie lässt sich dort nicht anlegen, weil die Schreibberechtigung fehlt.";
        return "Sie lässt sich dort nicht anlegen.";
    case Kind::DiskFull:
        return "Der Datenträger ist voll, oder eine Grenze für Speicherplatz oder Dateigröße "
               "ist erreicht."
            + oldKept;
    case Kind::CannotWrite:
        return "Sie ließ sich nicht vollständig schreiben." + oldKept;
    case Kind::ConnectionLost:
        return "Die Verbindung zu dem Netzlaufwerk, auf dem sie liegt, ist unterbrochen." + oldKept;
    case Kind::DriveFault:
        return "Der Datenträger, auf dem sie liegt, oder die Verbindung zu ihm meldet einen "
               "Fehler beim Lesen oder Schreiben."
            + oldKept;
    }
    return {};
}

// The system's reason in the program's own words, whatever the locale and the platform;
// empty where it has none.
std::string_view detailOf(storage::SystemReason reason)
{
    using Reason = storage::SystemReason;
    switch (reason) {
    case Reason::None:
        return {};
    case Reason::NoSpace:
        return "kein Platz mehr auf dem Datenträger";
    case Reason::Quota:
        return "Speicherplatzkontingent überschritten";
    case Reason::FileTooLarge:
        return "Datei zu groß";
    case Reason::AccessDenied:
        return "Zugriff verweigert";
    case Reason::NotPermitted:
        return "Vorgang nicht erlaubt";
    case Reason::ReadOnlyFileSystem:
        return "Dateisystem nur lesbar";
    case Reason::InputOutput:
        return "Ein- oder Ausgabefehler des Datenträgers";
    case Reason::NotFound:
        return "Datei oder Ordner nicht gefunden";
    case Reason::NotAFolder:
        return "ein Teil des Pfades ist kein Ordner";
    case Reason::IsAFolder:
        return "ist ein Ordner";
    case Reason::TooManyLinks:
        return "zu viele Ebenen von Verknüpfungen";
    case Reason::NameTooLong:
        return "Name zu lang";
    case Reason::Busy:
        return "Gerät oder Datei belegt";
    case Reason::InUse:
        return "Datei wird gerade benutzt";
    case Reason::OutOfMemory:
        return "nicht genug Arbeitsspeicher";
    case Reason::TooManyOpenFiles:
        return "zu viele offene Dateien";
    case Reason::StaleHandle:
        return "die Netzwerkfreigabe kennt die Datei nicht mehr";
    case Reason::NotConnected:
        return "keine Verbindung zum Netzlaufwerk";
    case Reason::HostDown:
        return "der Rechner mit der Freigabe ist nicht in Betrieb";
    case Reason::HostUnreachable:
        return "der Rechner mit der Freigabe ist nicht erreichbar";
    case Reason::ConnectionAborted:
        return "die Verbindung zum Netzlaufwerk wurde abgebrochen";
    case Reason::ConnectionReset:
        return "die Verbindung wurde von der Gegenseite getrennt";
    case Reason::TimedOut:
        return "das Netzlaufwerk hat nicht rechtzeitig geantwortet";
    case Reason::NetworkDown:
        return "das Netzwerk ist nicht erreichbar";
    }
    return {};
}

} // namespace

std::string SaveFailureMessage::heading(std::string_view shownPath) const
{
    return std::string(texts::notSavedBefore).append(shownPath).append(texts::notSavedAfter);
}

std::string SaveFailureMessage::details() const
{
    return reason + "\n\n" + std::string(texts::choiceAfterFailure);
}

SaveFailureMessage saveFailureMessage(std::string path, const storage::SaveError &failure)
{
    std::string reason = causeOf(failure);
    if (const std::string_view detail = detailOf(storage::reasonOf(failure.error)); !detail.empty())
        reason.append(" (Meldung des Systems: ").append(detail).append(")");
    return {std::move(path), std::move(reason)};
}
