// An editor: one field of text that a person types into.
//
// Style 0 is a text editor, 0x200000 an integer editor, 0x400000 a real editor, 0x20000 a step
// editor; the style decides how SetValue writes a number. The text never holds more characters
// than SetMaxCharacterWidth allows (0 or less: no limit); longer texts are cut, from the
// program and from the user alike.
#pragma once

#include "platform/KesDlgTextField.h"

class KesDlgEditor : public KesDlgTextField {
public:
    static constexpr unsigned long kIntegerStyle = kes::kIntegerEditorStyle;
    static constexpr unsigned long kRealStyle = kes::kRealEditorStyle;

    KesDlgEditor(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgTextField(parent, name, style, KesDlgKind::Editor) {}

    // An integer editor (style kes::kIntegerEditorStyle) or a real one (kes::kRealEditorStyle):
    // the field holds a number.
    // The static forms read a style word (for observers of a widget still being created).
    static bool IsIntegerStyle(unsigned long style) { return (style & kIntegerStyle) != 0; }
    static bool IsRealStyle(unsigned long style) { return (style & kRealStyle) != 0; }
    bool IsIntegerEditor() const { return IsIntegerStyle(GetStyle()); }
    bool IsRealEditor() const { return IsRealStyle(GetStyle()); }

    // Sets the text; raises no notification.
    void SetText(const KesUnicodeString& text);
    const KesUnicodeString& GetText() const { return text_; }
    static constexpr int kWholeText = -1; // the `line` of GetLine that gives the whole text

    // Line `line` (from 0) of the text, without its line end; kWholeText (-1) gives the whole
    // text. A line that does not exist gives the empty text.
    KesUnicodeString GetLine(int line) const;

    // Writes a number as the text: "%d" for an integer; a real in an integer editor is written
    // rounded toward zero (saturated to the int range), elsewhere in the shortest form that
    // reads back exactly. A NaN or infinite real is ignored. notify 1 raises the edit-modify
    // notification, 0 raises none.
    void SetValue(int value, int notify);
    void SetValue(double value, int notify);
    // The text read as a real (0.0 when it is not a finite number).
    double GetValue() const;
    double GetFloatValue() const { return GetValue(); }
    // The text read as an integer: a decimal integer, saturated to the int range when it is
    // outside; a finite real rounded toward zero and saturated; 0 for any other text.
    int GetIntegerValue() const;

    void SetMaxCharacterWidth(int characters);
    int GetMaxCharacterWidth() const { return maxCharacterWidth_; }

    KesNotification* GetEditModifyNotification() { return &editModify_; }

    // The user replaces the whole text (cut to the maximum width) and confirms it: the
    // edit-modify notification is raised.
    bool UserType(const KesUnicodeString& text);

private:
    KesUnicodeString Cut(const KesUnicodeString& text) const;

    KesUnicodeString text_;
    int maxCharacterWidth_ = 0;
    KesDlgNotification editModify_{"KesDlgEditModifyNotification"};
};
