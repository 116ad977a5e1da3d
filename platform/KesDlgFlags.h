// KesDlgFlags: the named values of the toolkit's flag words, in one place.
//
// Every widget setter of the toolkit takes these words as plain integers, so a caller passing
// the numbers keeps working; the names say what the numbers mean:
// - style words, given when a widget is created and read back with GetStyle();
// - frame orientation (SetDefaultOrientation), and the position and flags of a new line
//   (SetLine);
// - sensitivity (SetSensitivity), visibility (SetVisibility), check and radio states
//   (SetState);
// - the trailing notify flag of SetState, SetSelect, SetScrollPos, SetValue and
//   SetCurrentValue: with kNoNotify the widget raises no notification of its own, with kNotify
//   it raises the one a person's gesture would.
// Only the toolkit decodes a style word; everyone else asks the widget (IsEditable,
// IsIntegerSpinner, ...).
#pragma once

namespace kes {

// Style words.
constexpr unsigned long kFrameStyle = 0x80000;
constexpr unsigned long kScrollBarStyle = 0x80000;
constexpr unsigned long kTextEditorStyle = 0;
constexpr unsigned long kIntegerEditorStyle = 0x200000;
constexpr unsigned long kRealEditorStyle = 0x400000;
constexpr unsigned long kStepEditorStyle = 0x20000;
constexpr unsigned long kIntegerSpinnerStyle = 0x40000;
constexpr unsigned long kRealSpinnerStyle = 0x60000;
constexpr unsigned long kReadOnlyComboStyle = 0x40000;
constexpr unsigned long kEditableComboStyle = 0x140000;
constexpr unsigned long kSelectorListStyle = 0x40000;
constexpr unsigned long kStepDialogStyle = 1536;
constexpr unsigned long kParameterDialogStyle = 0xe00; // the dialog that names a new parameter
// Every other widget: labels, check, radio and push buttons, menus and their items.
constexpr unsigned long kPlainStyle = 0;

// Frame orientation (SetDefaultOrientation).
constexpr int kColumn = 0; // children one under the other (the default)
constexpr int kRow = 1;    // children side by side

// Lines of combos and selector lists (SetLine): the position that appends, and the flag word
// the attributes give every line (the toolkit keeps it with the line).
constexpr int kAppendLine = -1;
constexpr int kChoiceLineFlags = 0x40;

// Sensitivity and visibility.
constexpr unsigned long kSensitive = 8;
constexpr unsigned long kInsensitive = 16;
constexpr int kShown = 2;
constexpr int kHidden = 4;

// Check and radio button states.
constexpr unsigned long kOn = 0x40000;
constexpr unsigned long kOff = 0x80000;

// The trailing notify flag of the widget setters.
constexpr int kNoNotify = 0;
constexpr int kNotify = 1;

} // namespace kes
