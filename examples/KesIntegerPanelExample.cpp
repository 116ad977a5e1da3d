// A first panel: integer attributes in one parent frame, edited as a person would, with the
// notifications the frame receives and the value records a caller collects.
//
//   tool number   spinner 1..99, value 4
//   passes        optional (checked), free editor, value 2
//   spindle       read-only spinner 100..20000, value 1200
//   stock         to be defined, limits 0..50 (a bounded editor)
#include "framework/KesMfgValueRecords.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

// Prints what reached the frame since the last call.
void PrintNotifications(KesDlgTestFrame& frame, const std::string& action) {
    std::cout << "> " << action << "\n";
    if (frame.GetReceived().empty()) {
        std::cout << "  (no notification)\n";
    }
    for (const KesDlgTestFrame::Received& received : frame.GetReceived()) {
        const auto* attribute = dynamic_cast<const KesMfgAttribute*>(received.sender);
        std::cout << "  " << received.className << " from "
                  << (attribute ? attribute->GetLabel().Str() : "?") << "\n";
    }
    frame.Clear();
}

void PrintRecords(const std::string& title, const KesMfgValueRecords& records) {
    std::cout << title << "\n";
    const std::string table = records.FormatTable();
    std::cout << (table.empty() ? "  (no record)\n" : table);
}

} // namespace

int main() {
    KesDlgTestFrame frame("OperationPanel");

    auto* tool = new KesMfgAttInt("Tool_Number", "Tool number", 4, 1, 99, 0, &frame, 1);
    auto* passes = new KesMfgAttInt("Passes", "Number of passes", 2, 0, 0, 0, &frame, 1);
    passes->SetOptionMode(1, 1);
    auto* spindle = new KesMfgAttInt("Spindle", "Spindle speed", 1200, 100, 20000, 0, &frame, 2);
    auto* stock = new KesMfgAttInt("Stock", "Stock to leave", 0, 0, 50, 0, &frame, 1);
    stock->SetAttToBeDefined();
    const std::vector<KesMfgAttribute*> panel = {tool, passes, spindle, stock};
    for (KesMfgAttribute* attribute : panel) {
        attribute->Display();
    }
    spindle->SetEditMode(0);

    KesMfgValueRecords before;
    for (KesMfgAttribute* attribute : panel) {
        before.Output(*attribute, 1);
    }
    PrintRecords("Output(group 1) before any edit:", before);

    tool->GetSpinnerWidget()->UserSetValue(12.6);
    PrintNotifications(frame, "spin Tool_Number to 12.6 (kept as 12)");
    passes->GetEditorWidget()->UserType("three");
    PrintNotifications(frame, "type \"three\" into Passes (not a number: shows " +
                                  passes->GetEditorWidget()->GetText().Str() + ")");
    passes->GetEditorWidget()->UserType("3");
    PrintNotifications(frame, "type 3 into Passes");
    const bool refused = !spindle->GetSpinnerWidget()->UserSetValue(3000.0);
    PrintNotifications(frame, std::string("spin Spindle to 3000 (read-only: ") +
                                  (refused ? "refused" : "taken") + ")");
    stock->GetEditorWidget()->UserType("75");
    PrintNotifications(frame, "type 75 into Stock (clamped to " +
                                  stock->GetEditorWidget()->GetText().Str() + ")");
    passes->GetOptionCheckButton()->UserClick();
    PrintNotifications(frame, "uncheck Passes");

    KesMfgValueRecords output;
    KesMfgValueRecords all;
    for (KesMfgAttribute* attribute : panel) {
        output.Output(*attribute, 1);
        all.GetAttValue(*attribute);
    }
    PrintRecords("Output(group 1) after the edits:", output);
    PrintRecords("GetAttValue of every attribute:", all);
    return 0;
}
