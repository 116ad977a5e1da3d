// The multi-value text attribute: widths per editor, exact and unpadded texts, the new-value
// text and its to-be-defined state.
#include "multi/KesMfgAttMVChar.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KesMfgAttMVCharTest : public ::testing::Test {
protected:
    KesMfgAttMVChar* Make(KesListValKesUnicodeString list, int width = -1,
                          bool toBeDefined = false) {
        auto* attribute = new KesMfgAttMVChar("Notes", "Notes", list, "X", &frame, 1);
        attribute->SetVisibleTextWidth(width);
        if (toBeDefined) {
            attribute->SetAttToBeDefined();
        }
        attribute->Display();
        return attribute;
    }
    static KesDlgEditor* Editor(const KesMfgAttMVChar* attribute, int i) {
        return static_cast<KesDlgEditor*>(attribute->GetValueList().GetValueFields()[i]);
    }

    KesDlgTestFrame frame;
    KesValueVectors vectors;
    KesStdoutCapture out;
};

TEST_F(KesMfgAttMVCharTest, FirstLookIsStrippedWhileAnEditStoresTheShownTextsUnpadded) {
    auto* attribute = Make({" A1 ", "B"});
    EXPECT_EQ(Editor(attribute, 1)->GetText(), "A1");
    EXPECT_EQ(Editor(attribute, 3)->GetText(), "X"); // hidden, carrying the new-value text
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(Editor(attribute, 2)->UserType(" B "));
    EXPECT_EQ(out.Lines(), (std::vector<std::string>{"SCROLL POS :0"}));
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.typeCodes, (KesRawCollint{3}));
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"A1", " B "}));

    EXPECT_TRUE(attribute->GetValueList().GetAddItem()->UserActivate());
    EXPECT_EQ(Editor(attribute, 3)->GetText(), "X");
    EXPECT_TRUE(Editor(attribute, 3)->UserType(std::string(80, 'z'))); // cut at 72
    vectors.Clear();
    vectors.GetAttValue(*attribute);
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"A1", " B ", std::string(72, 'z')}));
}

TEST_F(KesMfgAttMVCharTest, EachEditorTakesItsWidthFromItsOwnText) {
    const std::string forty(40, 'a');
    struct Case {
        int width;
        std::vector<int> fieldWidths;
        int baseWidth;
    };
    const Case cases[] = {
        {-1, {34, 10, 12, 10, 10}, -1}, // hidden editors: from the new-value text
        {100, {72, 72, 72, 72, 72}, 72}, {20, {20, 20, 20, 20, 20}, 20},
        {0, {34, 34, 34, 34, 34}, 0},    {-7, {34, 34, 34, 34, 34}, -7},
        {1, {1, 1, 1, 1, 1}, 1}, // the narrowest width given is kept
        {72, {72, 72, 72, 72, 72}, 72},  {73, {72, 72, 72, 72, 72}, 72},
    };
    for (const Case& c : cases) {
        auto* attribute = Make({forty, "", "twelve chars"}, c.width);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(Editor(attribute, i)->GetVisibleTextWidth(), c.fieldWidths[i - 1])
                << c.width << " field " << i;
        }
        EXPECT_EQ(attribute->GetVisibleTextWidth(), c.baseWidth);
    }
}

TEST_F(KesMfgAttMVCharTest, ToBeDefinedEndsOnlyWhenEveryTextIsTyped) {
    auto* attribute = Make({"a", "b"}, -1, true);
    EXPECT_EQ(Editor(attribute, 1)->GetText(), "");
    EXPECT_EQ(Editor(attribute, 1)->GetVisibleTextWidth(), 10);
    EXPECT_TRUE(attribute->GetValueList().GetAddItem()->UserActivate());
    EXPECT_TRUE(Editor(attribute, 1)->UserType("one"));
    EXPECT_TRUE(Editor(attribute, 1)->UserType("")); // emptied again: not given
    EXPECT_TRUE(Editor(attribute, 2)->UserType("two"));
    EXPECT_EQ(attribute->IsToBeDefined(), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_TRUE(Editor(attribute, 1)->UserType("one"));
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.texts, (KesListValKesUnicodeString{"one", "two", "X"}));
}

} // namespace
