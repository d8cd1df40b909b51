// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhaupt.h"

#include "calc/conversion.h"
#include "calc/rating.h"
#include "storage/entriesfile.h"
#include "windows/savefailure.h"

#include <optional>
#include <system_error>

const frmHaupt::Wiring frmHaupt::clicks[6] = {
    {"optGewonnen", &frmHaupt::optGewonnen_Click},
    {"optUnentschieden", &frmHaupt::optUnentschieden_Click},
    {"optVerloren", &frmHaupt::optVerloren_Click},
    {"Berechnen", &frmHaupt::Berechnen_Click},
    {"cmdHilfe", &frmHaupt::cmdHilfe_Click},
    {"Ende", &frmHaupt::Ende_Click},
};

namespace {

// The entries file, by its relative name: it lives in the working folder.
std::filesystem::path entriesFile()
{
    return "Ratinor.ini";
}

std::string utf8(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

frmHaupt::frmHaupt(View &view) : m_view(view)
{
    std::error_code failed;
    m_entriesFileShown = utf8(std::filesystem::absolute(entriesFile(), failed));
    if (failed)
        m_entriesFileShown = utf8(entriesFile());
}

bool frmHaupt::FileExists(const std::filesystem::path &FileName) const
{
    return storage::exists(FileName);
}

void frmHaupt::Form_Load()
{
    storage::StoredEntries stored;
    if (FileExists(entriesFile()))
        stored = storage::load(entriesFile());
    // Each entry the file cannot give starts from its default.
    const auto show = [this](Box box, const std::optional<std::int16_t> &value,
                             std::string_view fallback) {
        m_view.setText(box, value ? calc::entryText(*value) : std::string(fallback));
    };
    show(Box::Kwert, stored.k, "30");
    show(Box::eigeneElo, stored.own, "0");
    show(Box::GegnerElo, stored.opponent, "0");
    m_gameScore = 1.0;
}

void frmHaupt::Rechnen()
{
    // Each entry is shown as the integer it stands for, or left as typed where that does
    // not fit into 16 bits.
    const auto read = [this](Box box) {
        const auto value = calc::entryValue(m_view.text(box));
        if (value)
            m_view.setText(box, calc::entryText(*value));
        return value;
    };
    const auto k = read(Box::Kwert);
    const auto own = read(Box::eigeneElo);
    const auto opponent = read(Box::GegnerElo);

    // Three separate tests: the last one that applies keeps the focus.
    const bool ownValid = calc::isValidEntry(own);
    const bool opponentValid = calc::isValidEntry(opponent);
    const bool kValid = calc::isValidEntry(k);
    if (!ownValid)
        m_view.setFocus(Box::eigeneElo);
    if (!opponentValid)
        m_view.setFocus(Box::GegnerElo);
    if (!kValid)
        m_view.setFocus(Box::Kwert);

    const auto ratings = kValid && ownValid && opponentValid
        ? calc::newRatings(*k, *own, *opponent, m_gameScore)
        : std::nullopt;
    if (!ratings) {
        // A new rating beyond 16 bits, too, is out of the allowed range.
        m_view.setMainEnabled(false);
        m_view.show(Window::Fehler);
        return;
    }
    m_view.setText(Box::EigeneElodanach, calc::entryText(ratings->own));
    m_view.setText(Box::EigeneELOdifferenz, calc::entryText(calc::difference(ratings->own, *own)));
    m_view.setText(Box::GegnerElodanach, calc::entryText(ratings->opponent));
    m_view.setText(Box::GegnerELOdifferenz,
                   calc::entryText(calc::difference(ratings->opponent, *opponent)));
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
    m_view.show(Window::Hilfe);
    m_view.setMainEnabled(false);
}

void frmHaupt::Ende_Click()
{
    // Saved as typed, unchecked; a value beyond 16 bits as the nearest bound.
    const auto failure = storage::save(entriesFile(),
                                       calc::clampedEntryValue(m_view.text(Box::Kwert)),
                                       calc::clampedEntryValue(m_view.text(Box::eigeneElo)),
                                       calc::clampedEntryValue(m_view.text(Box::GegnerElo)));
    if (failure
        && m_view.askAfterSaveFailure(saveFailureMessage(m_entriesFileShown, *failure))
            == SaveFailureChoice::Back)
        return;
    m_view.end();
}
