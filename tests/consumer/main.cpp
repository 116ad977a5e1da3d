// Builds against the installed package: one integer attribute in a frame, edited by a user.
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"

#include <iostream>

int main() {
    KesDlgTestFrame frame;
    auto* tool = new KesMfgAttInt("Tool", "Tool number", 4, 1, 10, 0, &frame, 1);
    tool->Display();
    tool->GetSpinnerWidget()->UserSetValue(7.0);
    KesListValKesUnicodeString names;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    tool->Output(1, &names, &typeCodes, &counts, &ints, &reals, &texts);
    const bool ok = frame.Count("KesMfgAttNotifyModif") == 1 && ints.Size() == 1 && ints[1] == 7;
    std::cout << (ok ? "consumer ok" : "consumer FAILED") << std::endl;
    return ok ? 0 : 1;
}
