#include "platform/KesDlgKindTraits.h"

#include <array>

namespace {

// In the order of KesDlgKind.
constexpr std::array<KesDlgKindTraits, kKesDlgKindCount> kTraits{{
    // name         laidOut takesText hasValue container
    {"frame", true, false, false, true},
    {"label", true, false, false, false},
    {"editor", true, true, true, false},
    {"spinner", true, true, true, false},
    {"combo", true, true, true, false},
    {"check", true, false, true, false},
    {"radio", true, false, true, false},
    {"button", true, false, false, false},
    {"menu", false, false, false, false},
    {"item", false, false, false, false},
    {"dialog", false, false, false, true},
    {"scrollbar", true, false, true, false},
    {"list", true, false, true, false},
}};

static_assert(kTraits.size() == static_cast<size_t>(kKesDlgKindCount),
              "every widget kind has one row of traits");
static_assert(kTraits[static_cast<size_t>(KesDlgKind::SelectorList)].name[0] == 'l' &&
                  kTraits[static_cast<size_t>(KesDlgKind::Dialog)].container,
              "the rows follow the order of KesDlgKind");

} // namespace

const KesDlgKindTraits& KesDlgTraitsOf(KesDlgKind kind) {
    const auto index = static_cast<size_t>(kind);
    return index < kTraits.size() ? kTraits[index] : kTraits[0];
}
