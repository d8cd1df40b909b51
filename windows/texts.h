// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

// The fixed texts of the three windows, UTF-8, for every front end.
namespace texts {

inline constexpr std::string_view programName = "Ratinor 1.2";

// One paragraph; the window wraps it at blanks.
inline constexpr std::string_view error =
    "Ein angegebener Wert liegt außerhalb des erlaubten Bereichs! "
    "Die ELO-Scores und der K-Wert müssen positiv und ungleich null sein!";

// 16 lines, each ended by CR LF; the blanks before a line's end belong to the text.
inline constexpr std::string_view help = "Dieses Programm berechnet die neue \r\n"
                                         "ELO-Score nach dem aktuellen \r\n"
                                         "Punktestand der Spielparteien. Der K-\r\n"
                                         "Wert sollte 30 betragen. Die Punkte sind \r\n"
                                         "aber nur näherungsweise aussagekräftig. \r\n"
                                         "Abweichungen von einem Punkt sind \r\n"
                                         "normal.\r\n"
                                         "\r\n"
                                         "Das Programm speichert die zuletzt \r\n"
                                         "eingebenene Werte in der Datei\r\n"
                                         "\"Ratinor.ini\"\r\n"
                                         "Daher muss auf dem Laufwerk auf dem \r\n"
                                         "dieses Programm gespeichert ist \r\n"
                                         "Schreibberechtigung/möglichkeit \r\n"
                                         "bestehen. Andernfalls stürzt das \r\n"
                                         "Programm beim Beenden ab.\r\n";

// The box after a failed save: the path goes between the quotation marks.
inline constexpr std::string_view notSavedBefore =
    "Die eingegebenen Werte konnten nicht in der Datei „";
inline constexpr std::string_view notSavedAfter = "“ gespeichert werden.";
inline constexpr std::string_view choiceAfterFailure =
    "Mit „Trotzdem beenden“ gehen die Werte verloren; mit „Zurück“ bleibt das Programm offen.";
inline constexpr std::string_view endAnyway = "Trotzdem beenden";
inline constexpr std::string_view back = "Zurück";

} // namespace texts
