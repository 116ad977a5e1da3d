#include "platform/KesDlgKindTraits.h"

#include <cstddef>
#include <iterator>

namespace {

// In the order of KesDlgKind, each row naming its kind. The array takes its size from its rows,
// so a kind without a row (or a row too many) changes the size and fails the first check below;
// a row out of place fails the second.
constexpr KesDlgKindTraits kTraits[] = {
    // kind, name, laidOut, takesText, hasValue, container
    {KesDlgKind::Frame, "frame", true, false, false, true},
    {KesDlgKind::Label, "label", true, false, false, false},
    {KesDlgKind::Editor, "editor", true, true, true, false},
    {KesDlgKind::Spinner, "spinner", true, true, true, false},
    {KesDlgKind::Combo, "combo", true, true, true, false},
    {KesDlgKind::CheckButton, "check", true, false, true, false},
    {KesDlgKind::RadioButton, "radio", true, false, true, false},
    {KesDlgKind::PushButton, "button", true, false, false, false},
    {KesDlgKind::ContextualMenu, "menu", false, false, false, false},
    {KesDlgKind::PushItem, "item", false, false, false, false},
    {KesDlgKind::Dialog, "dialog", false, false, false, true},
    {KesDlgKind::ScrollBar, "scrollbar", true, false, true, false},
    {KesDlgKind::SelectorList, "list", true, false, true, false},
};

constexpr bool RowsFollowTheKinds() {
    for (std::size_t i = 0; i < std::size(kTraits); ++i) {
        if (kTraits[i].kind != static_cast<KesDlgKind>(i) || kTraits[i].name == nullptr) {
            return false;
        }
    }
    return true;
}

static_assert(std::size(kTraits) == static_cast<std::size_t>(kKesDlgKindCount),
              "KesDlgKindTraits: the table needs exactly one row per KesDlgKind (a kind was "
              "added or removed without its row)");
static_assert(RowsFollowTheKinds(),
              "KesDlgKindTraits: row i must name KesDlgKind i (the rows follow the order of "
              "KesDlgKind)");

} // namespace

const KesDlgKindTraits& KesDlgTraitsOf(KesDlgKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(kTraits) ? kTraits[index] : kTraits[0];
}
