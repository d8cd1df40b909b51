// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's calculation on arbitrary entry texts and results, through a view
// without a toolkit: it must neither crash nor hit undefined behaviour, and what it shows
// must hang together.
#include "calc/conversion.h"
#include "calc/rating.h"
#include "windows/frmhaupt.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace {

class FuzzView : public View
{
public:
    std::map<Box, std::string> texts;
    std::optional<Box> focus;
    bool errorShown = false;

    std::string text(Box box) const override
    {
        const auto found = texts.find(box);
        return found == texts.end() ? std::string() : found->second;
    }
    void setText(Box box, std::string_view text) override { texts[box] = std::string(text); }
    void setFocus(Box box) override { focus = box; }
    void setMainEnabled(bool enabled) override { (void)enabled; }
    void show(Window window) override { errorShown = errorShown || window == Window::Fehler; }
    void hide(Window window) override { (void)window; }
    SaveFailureChoice askAfterSaveFailure(const SaveFailureMessage &message) override
    {
        (void)message;
        return SaveFailureChoice::Back;
    }
    void end() override { }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first byte picks the option clicked, the rest are three texts split at NUL bytes.
    if (size < 1)
        return -1;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    std::string texts[3];
    std::size_t part = 0;
    for (const char c : rest) {
        if (c == '\0' && part < 2)
            ++part;
        else
            texts[part] += c;
    }

    FuzzView view;
    frmHaupt window(view);
    view.texts = {{Box::Kwert, texts[0]}, {Box::eigeneElo, texts[1]}, {Box::GegnerElo, texts[2]}};
    using Click = void (frmHaupt::*)();
    static constexpr Click options[] = {&frmHaupt::optGewonnen_Click,
                                        &frmHaupt::optUnentschieden_Click,
                                        &frmHaupt::optVerloren_Click, &frmHaupt::Berechnen_Click};
    (window.*options[data[0] % 4])();

    const auto k = calc::entryValue(texts[0]);
    const auto own = calc::entryValue(texts[1]);
    const auto opponent = calc::entryValue(texts[2]);
    const bool valid = calc::isValidEntry(k) && calc::isValidEntry(own)
        && calc::isValidEntry(opponent);
    if (view.focus.has_value() == valid)
        std::abort(); // the focus moves exactly when an entry is invalid
    const bool resultsShown = view.texts.contains(Box::EigeneElodanach);
    if (resultsShown == view.errorShown || (resultsShown && !valid))
        std::abort(); // either the results or the error window
    // Each box normalised, or left as typed when beyond 16 bits.
    const auto shown = [](const std::optional<std::int16_t> &value, const std::string &typed) {
        return value ? calc::entryText(*value) : typed;
    };
    if (view.texts[Box::Kwert] != shown(k, texts[0])
        || view.texts[Box::eigeneElo] != shown(own, texts[1])
        || view.texts[Box::GegnerElo] != shown(opponent, texts[2]))
        std::abort();
    if (resultsShown) {
        // With a score between 0 and 1 each change lies between -K and K.
        const int change = std::atoi(view.texts[Box::EigeneELOdifferenz].c_str());
        const int opponentChange = std::atoi(view.texts[Box::GegnerELOdifferenz].c_str());
        if (change < -*k || change > *k || opponentChange < -*k || opponentChange > *k)
            std::abort();
    }
    return 0;
}
