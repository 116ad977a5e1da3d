// The text attribute: trimmed comparison, padding to 72 characters, the visible width rule,
// and texts that are too long, multi-byte or not valid UTF-8, driven by a user typing and by a
// caller pushing and collecting value vectors.
#include "single/KesMfgAttChar.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "platform/KesDlgTestFrame.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KesMfgAttCharTest : public ::testing::Test {
protected:
    KesMfgAttChar* Make(const KesUnicodeString& value, bool toBeDefined = false,
                        int visibleWidth = -1) {
        auto* attribute = new KesMfgAttChar("Tool_name", "Tool name", value, "", &frame, 1);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->SetVisibleTextWidth(visibleWidth);
        attribute->Display();
        return attribute;
    }
    int Notifications() const { return frame.Count("KesMfgAttNotifyModif"); }
    static void Push(KesMfgAttChar* attribute, const KesUnicodeString& text, int notify) {
        KesListValKesUnicodeString texts{text};
        attribute->SetAttValue(nullptr, nullptr, &texts, notify);
    }
    // The one text GetAttValue reports.
    KesUnicodeString Reported(KesMfgAttChar* attribute) {
        values.Clear();
        values.GetAttValue(*attribute);
        EXPECT_EQ(values.texts.Size(), 1);
        return values.texts.Size() == 1 ? values.texts[1] : KesUnicodeString("(none)");
    }
    static std::string Padded(const std::string& text, int characters) {
        return text + std::string(static_cast<size_t>(72 - characters), ' ');
    }

    KesDlgTestFrame frame;
    KesValueVectors values;
};

// ---------------------------------------------------------------------------------------------
// Trimmed comparison and padded records
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharTest, ValueIsComparedTrimmedAndReportedPadded) {
    auto* attribute = Make("  abc  ");
    KesDlgEditor* editor = attribute->GetEditorWidget();
    EXPECT_EQ(editor->GetText(), "abc");
    EXPECT_TRUE(editor->UserType("   abc ")); // blanks around the text are no change
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());

    EXPECT_TRUE(editor->UserType("abd"));
    EXPECT_EQ(Notifications(), 2);
    values.Output(*attribute, 1).Output(*attribute, 1);
    const std::string record = "Tool_name | text | 1 | \"" + Padded("abd", 3) + "\"\n";
    EXPECT_EQ(values.FormatTable(), record + record);
}

TEST_F(KesMfgAttCharTest, ToBeDefinedGivesNoRecordAndAnEmptyValueUntilEdited) {
    auto* attribute = Make("abc", true);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "");
    EXPECT_EQ(values.GetAttValue(*attribute), 1);
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());

    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("abc"));
    EXPECT_EQ(attribute->GetAttValue().Str(), Padded("abc", 3));
    values.Output(*attribute, 1); // forced output: reported although unchanged
    EXPECT_EQ(values.texts.Size(), 1);
}

// ---------------------------------------------------------------------------------------------
// SetAttValue
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharTest, PushedTextIsShownAsGivenAndNotifiesOnRequest) {
    auto* attribute = Make("abc", true);
    Push(attribute, "  new  ", 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "  new  ");
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    EXPECT_EQ(Notifications(), 0);
    KesListValKesUnicodeString two{"a", "b"};
    attribute->SetAttValue(nullptr, nullptr, &two, 1);
    attribute->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "  new  ");
    EXPECT_EQ(Notifications(), 0);
    Push(attribute, "abc", 1);
    EXPECT_EQ(Notifications(), 1);
    EXPECT_EQ(attribute->GetReferenceValue(), "abc");
}

TEST_F(KesMfgAttCharTest, ParentNotifiedByAPushFindsTheValueDefined) {
    auto* attribute = Make("", true);
    KesUnicodeString heard("(nothing heard)");
    KesMfgAttNotifyModif kind(-1);
    frame.AddCallback(attribute, &kind,
                      [&](KesCommand*, KesNotification*, void**) { heard = Reported(attribute); });
    Push(attribute, "pushed", 1);
    EXPECT_EQ(heard.Str(), Padded("pushed", 6));
}

// ---------------------------------------------------------------------------------------------
// Visible width, long, multi-byte and invalid texts
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttCharTest, VisibleWidthFollowsTheValueOrTheAskedWidth) {
    const struct {
        int asked;
        int valueLength;
        int width;
        int field; // the visible text width afterwards
    } cases[] = {{-1, 3, 10, -1},  {-1, 20, 20, -1}, {-1, 50, 34, -1}, {0, 3, 34, 0},
                 {-7, 3, 34, -7},  {1, 3, 1, 1},     {72, 3, 72, 72},  {73, 3, 72, 72},
                 {100, 3, 72, 72}, {40, 80, 40, 40}};
    for (const auto& c : cases) {
        // Blanks around the value do not count.
        auto* attribute = Make("  " + std::string(static_cast<size_t>(c.valueLength), 'w') + "  ",
                               false, c.asked);
        EXPECT_EQ(attribute->GetEditorWidget()->GetVisibleTextWidth(), c.width) << c.asked;
        EXPECT_EQ(attribute->GetVisibleTextWidth(), c.field) << c.asked;
    }
}

TEST_F(KesMfgAttCharTest, TextsAreCutTo72CharactersCountingMultiByteOnesWhole) {
    auto* attribute = Make("");
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType(std::string(100, 'a')));
    EXPECT_EQ(attribute->GetEditorWidget()->GetText().Str(), std::string(72, 'a'));
    Push(attribute, std::string(80, 'b'), 0);
    EXPECT_EQ(Reported(attribute).Str(), std::string(72, 'b'));
    // 71 letters, then a two-byte, a three-byte and a four-byte character.
    const std::string head(71, 'a');
    EXPECT_TRUE(
        attribute->GetEditorWidget()->UserType(head + "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\xA7"));
    const KesUnicodeString cut = Reported(attribute);
    EXPECT_EQ(cut.Str(), head + "\xC3\xA9"); // 72 characters, 73 bytes
    EXPECT_EQ(cut.GetLengthInChar(), 72);

    EXPECT_TRUE(attribute->GetEditorWidget()->UserType(head.substr(0, 70) + "\xE2\x82\xAC"));
    EXPECT_EQ(Reported(attribute).Str(), head.substr(0, 70) + "\xE2\x82\xAC" + " ");
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(Reported(attribute).Str(), Padded("\xC3\xA9t\xC3\xA9", 3)); // 3 characters
}

TEST_F(KesMfgAttCharTest, InvalidUtf8ReachesTheRecordAsReplacementCharacters) {
    auto* attribute = Make("");
    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("ab\xFF\xC3" + std::string(80, 'z')));
    const KesUnicodeString reported = Reported(attribute);
    EXPECT_EQ(reported.GetLengthInChar(), 72);
    EXPECT_EQ(reported.Str().substr(0, 10), "ab\xEF\xBF\xBD\xEF\xBF\xBDzz");
    EXPECT_EQ(KesUnicodeString(reported.Str()), reported); // valid UTF-8 as it stands
}

} // namespace
