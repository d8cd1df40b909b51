// SPDX-License-Identifier: GPL-3.0-or-later
// The words for a failed save: one table for every front end.
#include "windows/savefailure.h"

#include <QtTest>

#include <cerrno>

class tst_SaveFailure : public QObject
{
    Q_OBJECT
private slots:
    void reason_data();
    void reason();
    void namesThePathAndTheChoice();
};

// clang-format off
void tst_SaveFailure::reason_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("oldKept");
    QTest::addColumn<QString>("reason");
    using Kind = storage::SaveError::Kind;
    // The system's part in German, whatever the locale
    QTest::newRow("failing-disk") << int(Kind::DriveFault) << EIO << true
        << "Der Datenträger, auf dem sie liegt, oder die Verbindung zu ihm meldet einen Fehler "
           "beim Lesen oder Schreiben. Der alte Inhalt ist erhalten. "
           "(Meldung des Systems: Ein- oder Ausgabefehler des Datenträgers)";
    // A first run has no old content to speak of
    QTest::newRow("first-run-full") << int(Kind::DiskFull) << ENOSPC << false
        << "Der Datenträger ist voll, oder eine Grenze für Speicherplatz oder Dateigröße ist "
           "erreicht. (Meldung des Systems: kein Platz mehr auf dem Datenträger)";
    // No detail where the program has no words of its own for it
    QTest::newRow("unknown-error") << int(Kind::CannotWrite) << EPROTO << false
        << "Sie ließ sich nicht vollständig schreiben.";
    // A lost share is named as such, and a permission only where the system says so
    QTest::newRow("share-gone") << int(Kind::ConnectionLost) << ENOTCONN << false
        << "Die Verbindung zu dem Netzlaufwerk, auf dem sie liegt, ist unterbrochen. "
           "(Meldung des Systems: keine Verbindung zum Netzlaufwerk)";
    QTest::newRow("create-refused") << int(Kind::CannotCreate) << EACCES << false
        << "Sie lässt sich dort nicht anlegen, weil die Schreibberechtigung fehlt. "
           "(Meldung des Systems: Zugriff verweigert)";
    QTest::newRow("create-failed") << int(Kind::CannotCreate) << ENOSYS << false
        << "Sie lässt sich dort nicht anlegen.";
    QTest::newRow("link-loop") << int(Kind::LinkLoop) << 0 << false
        << "Sie ist eine Verknüpfung, die über weitere Verknüpfungen im Kreis wieder auf sich "
           "selbst zeigt.";
    QTest::newRow("link-into-nowhere") << int(Kind::LinkTargetMissing) << 0 << false
        << "Sie ist eine Verknüpfung in einen Ordner, der nicht besteht.";
}
// clang-format on

void tst_SaveFailure::reason()
{
    QFETCH(int, kind);
    QFETCH(int, error);
    QFETCH(bool, oldKept);
    QFETCH(QString, reason);
    const SaveFailureMessage message = saveFailureMessage(
        "Ratinor.ini", {storage::SaveError::Kind(kind), error, oldKept});
    QCOMPARE(QString::fromStdString(message.reason), reason);
}

void tst_SaveFailure::namesThePathAndTheChoice()
{
    const SaveFailureMessage message = saveFailureMessage("/home/anna/Verein/Ratinor.ini",
                                                          {storage::SaveError::Kind::ReadOnly});
    QCOMPARE(QString::fromStdString(message.heading("/home/anna/\nVerein/Ratinor.ini")),
             QStringLiteral("Die eingegebenen Werte konnten nicht in der Datei "
                            "„/home/anna/\nVerein/Ratinor.ini“ gespeichert werden."));
    QCOMPARE(QString::fromStdString(message.details()),
             QStringLiteral("Sie ist schreibgeschützt, oder die Schreibberechtigung fehlt.\n\n"
                            "Mit „Trotzdem beenden“ gehen die Werte verloren; mit „Zurück“ "
                            "bleibt das Programm offen."));
}

QTEST_GUILESS_MAIN(tst_SaveFailure)
#include "tst_savefailure.moc"
