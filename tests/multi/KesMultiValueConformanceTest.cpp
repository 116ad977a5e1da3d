// The mechanics the four windowed multi-value attributes share, run over each of them: the
// window and its scroll bar, scrolling, adding, removing, SetAttValue and Output. What differs
// (lines written, notifications raised by the boolean list's refreshes) is tested per class.
#include "KesMultiValueCases.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

template <class Case> class KesMultiValueConformance : public ::testing::Test {
protected:
    using Attribute = typename Case::Attribute;
    using Value = typename Case::Value;

    Attribute* Make(int count, int visible = 5, int countMode = 0) {
        std::vector<Value> values;
        for (int j = 1; j <= count; ++j) {
            values.push_back(Case::Sample(j));
        }
        attribute = Case::Make(&frame, values);
        attribute->SetNbVisibleVals(visible);
        attribute->SetNbValModifMode(countMode);
        attribute->Display();
        return attribute;
    }
    const auto& List() const { return attribute->GetValueList(); }
    KesDialog* Field(int i) const { return List().GetValueFields()[i]; }
    KesDlgScrollBar* Bar() const { return List().GetValueScrollBar(); }
    // Range maximum, box size and position of the scroll bar.
    std::tuple<int, int, int> Scroll() const {
        return {Bar()->GetScrollMaximum(), Bar()->GetScrollBoxSize(), Bar()->GetScrollPos()};
    }
    // Samples first..last, the window a correct refresh shows.
    static std::vector<Value> Samples(int first, int last) {
        std::vector<Value> values;
        for (int j = first; j <= last; ++j) {
            values.push_back(Case::Sample(j));
        }
        return values;
    }
    // What the shown fields show, in order; hidden fields must carry the filler.
    std::vector<Value> Window() const {
        std::vector<Value> shown;
        for (int i = 1; i <= List().GetValueFields().Size(); ++i) {
            if (Field(i)->GetVisibility() == kes::kShown) {
                shown.push_back(Case::Shown(Field(i)));
            } else {
                EXPECT_EQ(Case::Shown(Field(i)), Case::Filler()) << "hidden field " << i;
            }
        }
        return shown;
    }
    std::vector<Value> Values() {
        KesValueVectors vectors;
        vectors.GetAttValue(*attribute);
        return Case::Out(vectors);
    }
    // Notifications to the parent frame, counted where no refresh raises any of its own.
    void ExpectNotifications(int count) const {
        if (!Case::kRefreshNotifies) {
            EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), count);
        }
    }

    KesDlgTestFrame frame;
    Attribute* attribute = nullptr;
    KesStdoutCapture stdoutCapture; // keeps the edit lines out of the test log
};

using KesWindowedCases =
    ::testing::Types<KesMVIntCase, KesMVDoubleCase, KesMVCharCase, KesMVLogicCase>;
TYPED_TEST_SUITE(KesMultiValueConformance, KesWindowedCases);

// ---------------------------------------------------------------------------------------------
// Display and the window model
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, DisplayBuildsTheWindowOverTheFirstValues) {
    auto* attribute = this->Make(3);
    ASSERT_EQ(attribute->GetChildCount(), 3);
    EXPECT_EQ(attribute->GetChildFromChildNumber(0), attribute->GetLabelWidget());
    EXPECT_EQ(attribute->GetChildFromChildNumber(1), this->List().GetValueFrame());
    EXPECT_EQ(attribute->GetChildFromChildNumber(2), this->Bar());
    EXPECT_EQ(this->Bar()->GetName(), "Scrol");
    KesDlgFrame* valueFrame = this->List().GetValueFrame();
    EXPECT_EQ(valueFrame->GetName(), "FrameValues");
    ASSERT_EQ(valueFrame->GetChildCount(), 6);
    EXPECT_EQ(valueFrame->GetChildFromChildNumber(0)->GetName(), "ContextMenu");
    EXPECT_EQ(this->List().GetAddItem()->GetName(), "Add");
    EXPECT_EQ(this->List().GetRemoveItem()->GetVisibility(), kes::kShown);

    EXPECT_EQ(this->Window(), this->Samples(1, 3));
    EXPECT_EQ(this->Scroll(), std::make_tuple(3, 3, 0));
    EXPECT_TRUE(attribute->HasTrailingScrollBar());
}

TYPED_TEST(KesMultiValueConformance, OneValueHidesRemoveUntilAValueIsAdded) {
    this->Make(1);
    KesDlgPushItem* remove = this->List().GetRemoveItem();
    EXPECT_EQ(remove->GetVisibility(), kes::kHidden);
    EXPECT_FALSE(remove->UserActivate());
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    EXPECT_EQ(remove->GetVisibility(), kes::kShown);
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_EQ(remove->GetVisibility(), kes::kHidden);
    EXPECT_EQ(this->Values(), this->Samples(1, 1));
}

TYPED_TEST(KesMultiValueConformance, FixedCountBuildsNoMenu) {
    this->Make(3, 5, 1);
    EXPECT_EQ(this->List().GetAddItem(), nullptr);
    EXPECT_EQ(this->List().GetValueFrame()->GetChildCount(), 5);
}

TYPED_TEST(KesMultiValueConformance, ZeroOrNegativeVisibleFieldsBuildNoField) {
    for (int visible : {0, -3}) {
        this->frame.Clear();
        auto* attribute = this->Make(4, visible);
        EXPECT_EQ(this->List().GetValueFields().Size(), 0);
        EXPECT_EQ(this->Scroll(), std::make_tuple(4, 0, 0));
        EXPECT_TRUE(this->Bar()->UserScroll(9));
        EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
        EXPECT_TRUE(this->List().GetRemoveItem()->UserActivate());
        attribute->AttributeModified(nullptr, nullptr, nullptr);
        EXPECT_EQ(this->Values(), this->Samples(1, 4));
    }
}

// ---------------------------------------------------------------------------------------------
// Scrolling
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, ScrollingMovesTheWindowAndChangesNoValue) {
    this->Make(9);
    EXPECT_EQ(this->Scroll(), std::make_tuple(9, 5, 0));
    EXPECT_TRUE(this->Bar()->UserScroll(4));
    EXPECT_EQ(this->Window(), this->Samples(5, 9));
    EXPECT_TRUE(this->Bar()->UserDrag(1));
    EXPECT_EQ(this->Window(), this->Samples(2, 6));
    EXPECT_TRUE(this->Bar()->UserScroll(100)); // kept within the range by the scroll bar
    EXPECT_EQ(this->Window(), this->Samples(5, 9));
    EXPECT_TRUE(this->Bar()->UserScroll(-3));
    EXPECT_EQ(this->Window(), this->Samples(1, 5));
    EXPECT_EQ(this->Values(), this->Samples(1, 9));
    this->ExpectNotifications(0);
}

TYPED_TEST(KesMultiValueConformance, AnEditWhileScrolledStoresAtTheShownPosition) {
    this->Make(9);
    this->Bar()->UserScroll(4);
    ASSERT_TRUE(TypeParam::Edit(this->Field(2), TypeParam::Other()));
    auto expected = this->Samples(1, 9);
    expected[5] = TypeParam::Other(); // value 6 = p + field 2
    EXPECT_EQ(this->Values(), expected);
    EXPECT_EQ(this->Window(), std::vector(expected.begin() + 4, expected.end()));
}

// ---------------------------------------------------------------------------------------------
// Adding and removing
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, AddAppendsTheFillerWithoutMovingTheWindow) {
    this->Make(5);
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    auto expected = this->Samples(1, 5);
    expected.push_back(TypeParam::Filler());
    EXPECT_EQ(this->Values(), expected);
    EXPECT_EQ(this->Scroll(), std::make_tuple(6, 5, 0));
    EXPECT_EQ(this->Window(), this->Samples(1, 5));
    this->Bar()->UserScroll(1);
    EXPECT_EQ(this->Window(), std::vector(expected.begin() + 1, expected.end()));
    this->ExpectNotifications(1);
}

TYPED_TEST(KesMultiValueConformance, RemoveDropsTheLastValueAndKeepsTheWindowFull) {
    struct Case {
        int count, position;
        std::tuple<int, int, int> scroll; // after Remove
        int firstShown, lastShown;
    };
    const Case cases[] = {
        {7, 2, {6, 5, 1}, 2, 6}, // scrolled to the end: the window moves up by one
        {7, 0, {6, 5, 0}, 1, 5}, // at the start: it stays
        {5, 0, {4, 4, 0}, 1, 4}, // exactly a window: the box shrinks, field 5 is hidden
        {6, 1, {5, 5, 0}, 1, 5}, // a window + 1, showing the last value
        {2, 0, {1, 1, 0}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.count << " values at " << c.position);
        this->Make(c.count);
        this->Bar()->UserScroll(c.position);
        this->frame.Clear();
        EXPECT_TRUE(this->List().GetRemoveItem()->UserActivate());
        EXPECT_EQ(this->Scroll(), c.scroll);
        EXPECT_EQ(this->Window(), this->Samples(c.firstShown, c.lastShown));
        EXPECT_EQ(this->Values(), this->Samples(1, c.count - 1));
        this->ExpectNotifications(1);
    }
}

TYPED_TEST(KesMultiValueConformance, RemoveOnAnEmptyListNeverGoesBelowZeroValues) {
    this->Make(0);
    KesDlgPushItem* remove = this->List().GetRemoveItem();
    EXPECT_EQ(remove->GetVisibility(), kes::kShown);
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_EQ(this->Values(), std::vector<typename TypeParam::Value>());
    EXPECT_EQ(this->Scroll(), std::make_tuple(0, 0, 0));
    this->ExpectNotifications(0);
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    EXPECT_EQ(this->Values(), std::vector{TypeParam::Filler()});
    EXPECT_EQ(this->Window(), std::vector{TypeParam::Filler()});
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, SetAttValueReplacesTheListFromTheFirstValue) {
    auto* attribute = this->Make(9);
    this->Bar()->UserScroll(3);
    this->frame.Clear();
    TypeParam::Push(*attribute, this->Samples(11, 13), 0);
    EXPECT_EQ(this->Scroll(), std::make_tuple(3, 3, 0));
    EXPECT_EQ(this->Window(), this->Samples(11, 13));
    EXPECT_EQ(this->frame.Count("KesMfgAttNotifyModif"), 0);
    KesValueVectors vectors;
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.counts, (KesRawCollint{3}));
    EXPECT_EQ(TypeParam::Out(vectors), this->Samples(11, 13));

    TypeParam::Push(*attribute, this->Samples(1, 9), 1);
    EXPECT_EQ(this->frame.Count("KesMfgAttNotifyModif"), 1);
    vectors.Clear();
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty()); // the original list again
}

TYPED_TEST(KesMultiValueConformance, SetAttValueWithAnEmptyOrNullVectorKeepsTheList) {
    auto* attribute = this->Make(3);
    TypeParam::Push(*attribute, {}, 1);
    attribute->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(this->Values(), this->Samples(1, 3));
    EXPECT_EQ(this->frame.Count("KesMfgAttNotifyModif"), 0);
}

TYPED_TEST(KesMultiValueConformance, OutputReportsAChangedListUntilItIsChangedBack) {
    auto* attribute = this->Make(3);
    KesValueVectors vectors;
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    ASSERT_TRUE(TypeParam::Edit(this->Field(1), TypeParam::Other()));
    vectors.Output(*attribute, 2); // another group
    EXPECT_TRUE(vectors.IsEmpty());
    vectors.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(vectors.names.Size(), 2);
    EXPECT_EQ(vectors.names[1], attribute->GetAttributeName());
    EXPECT_EQ(vectors.counts, (KesRawCollint{3, 3}));
    ASSERT_TRUE(TypeParam::Edit(this->Field(1), TypeParam::Sample(1)));
    vectors.Clear();
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
}

TYPED_TEST(KesMultiValueConformance, UncheckedOptionalListReportsCountZero) {
    auto* attribute = TypeParam::Make(&this->frame, this->Samples(1, 3));
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    ASSERT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_GE(this->frame.Count("KesMfgAttNotifyModif"), 1);
    KesValueVectors vectors;
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.counts, (KesRawCollint{0}));
    EXPECT_TRUE(TypeParam::Out(vectors).empty());
    EXPECT_FALSE(attribute->GetValueList().GetValueFields()[1]->AcceptsUserInput());
    EXPECT_TRUE(attribute->GetValueList().GetValueScrollBar()->AcceptsUserInput());
}

// ---------------------------------------------------------------------------------------------
// Misuse and reentrancy
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, OperationsBeforeDisplayAreIgnored) {
    auto* attribute = TypeParam::Make(&this->frame, this->Samples(1, 3));
    TypeParam::Push(*attribute, this->Samples(4, 9), 1);
    attribute->AddValue(nullptr, nullptr, nullptr);
    attribute->RemoveValue(nullptr, nullptr, nullptr);
    attribute->ScrollModified(nullptr, nullptr, nullptr);
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    attribute->SetHelp({"help"}, {"short"});
    KesValueVectors vectors;
    EXPECT_EQ(vectors.GetAttValue(*attribute), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_EQ(attribute->GetChildCount(), 0);
    EXPECT_EQ(this->frame.GetReceived().size(), 0u);
    attribute->Display();
    attribute->Display(); // the second is ignored
    EXPECT_EQ(attribute->GetChildCount(), 3);
    EXPECT_EQ(attribute->GetValueList().GetCurrentValues().Size(), 3);
}

TYPED_TEST(KesMultiValueConformance, ParentMayDeleteTheAttributeOnItsNotification) {
    for (int operation = 0; operation < 4; ++operation) {
        auto* attribute = this->Make(9);
        KesMfgAttNotifyModif kind(-1);
        bool deleted = false;
        this->frame.AddCallback(attribute, &kind, [&](KesCommand*, KesNotification*, void**) {
            if (!deleted) {
                deleted = true;
                delete attribute;
            }
        });
        const auto& list = attribute->GetValueList();
        switch (operation) {
        case 0:
            list.GetAddItem()->UserActivate();
            break;
        case 1:
            list.GetValueScrollBar()->UserScroll(4); // the boolean list notifies already here
            if (!deleted) {
                list.GetRemoveItem()->UserActivate();
            }
            break;
        case 2:
            TypeParam::Edit(list.GetValueFields()[1], TypeParam::Other());
            break;
        default:
            TypeParam::Push(*attribute, this->Samples(2, 8), 1);
        }
        EXPECT_TRUE(deleted) << operation;
    }
}

TYPED_TEST(KesMultiValueConformance, HelpGoesToTheValueFrameAndEveryField) {
    auto* attribute = TypeParam::Make(&this->frame, this->Samples(1, 2));
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    attribute->SetHelp({"long"}, {"short"});
    attribute->SetHelp({"a", "b"}, {}); // ignored
    const auto& list = attribute->GetValueList();
    EXPECT_EQ(list.GetValueFrame()->GetHelp(), "long");
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetHelp(), "long");
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetShortHelp(), "short");
    for (int i = 1; i <= list.GetValueFields().Size(); ++i) {
        EXPECT_EQ(list.GetValueFields()[i]->GetShortHelp(), "short");
    }
    EXPECT_EQ(attribute->GetLabelWidget()->GetHelp(), "");
}

} // namespace
