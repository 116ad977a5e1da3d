// The mechanics the four windowed multi-value attributes share, run over each of them: the
// window and its scroll bar, scrolling, adding, removing, SetAttValue and Output. What differs
// (lines written, notifications raised by the boolean list's refreshes) is tested per class.
#include "framework/KesMfgAttNotifyModif.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "support/KesValueVectors.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

// What the suite needs of each class: how to build one from sample values, read and edit a
// field, and which value vector holds its values. Hidden fields and added values hold Value{}.
template <class Value> struct SpinnerFields {
    static Value Shown(KesDialog* field) {
        return static_cast<Value>(static_cast<KesDlgSpinner*>(field)->GetValue());
    }
    static bool Edit(KesDialog* field, Value v) {
        return static_cast<KesDlgSpinner*>(field)->UserSetValue(v);
    }
};

struct IntCase : SpinnerFields<int> {
    using Attribute = KesMfgAttMVInt;
    using Value = int;
    static constexpr auto kVector = &KesValueVectors::ints;
    static Value Sample(int j) { return 10 * j; }
    static Attribute* Make(KesDlgFrame* frame, const KesRawCollint& values) {
        return new KesMfgAttMVInt("NbPasses", "Passes", values, 0, 1000, 0, frame, 1);
    }
};

struct DoubleCase : SpinnerFields<double> {
    using Attribute = KesMfgAttMVDouble;
    using Value = double;
    static constexpr auto kVector = &KesValueVectors::reals;
    static Value Sample(int j) { return 0.5 * j; }
    static Attribute* Make(KesDlgFrame* frame, const KesRawColldouble& values) {
        return new KesMfgAttMVDouble("Depths", "Depths", values, 0.0, 1000.0, 0.0, 0, 0, 0, frame,
                                     1, 0);
    }
};

struct CharCase {
    using Attribute = KesMfgAttMVChar;
    using Value = std::string;
    static constexpr auto kVector = &KesValueVectors::texts;
    static Value Sample(int j) { return "v" + std::to_string(j); }
    static Attribute* Make(KesDlgFrame* frame, const KesListValKesUnicodeString& values) {
        return new KesMfgAttMVChar("Notes", "Notes", values, "", frame, 1);
    }
    static Value Shown(KesDialog* field) {
        return static_cast<KesDlgEditor*>(field)->GetText().Str();
    }
    static bool Edit(KesDialog* field, const Value& v) {
        return static_cast<KesDlgEditor*>(field)->UserType(v);
    }
};

// The samples follow no short period, so every window differs. Its refreshes notify.
struct LogicCase {
    using Attribute = KesMfgAttMVLogic;
    using Value = int;
    static constexpr auto kVector = &KesValueVectors::ints;
    static Value Sample(int j) { return j * j % 7 < 3 ? 1 : 0; }
    static Attribute* Make(KesDlgFrame* frame, const KesRawCollint& values) {
        return new KesMfgAttMVLogic("Passes", "Passes", values, 0, frame, 1, 0, nullptr);
    }
    static Value Shown(KesDialog* field) {
        return static_cast<KesDlgCheckButton*>(field)->IsOn() ? 1 : 0;
    }
    static bool Edit(KesDialog* field, Value v) {
        auto* button = static_cast<KesDlgCheckButton*>(field);
        return (button->IsOn() ? 1 : 0) == v || button->UserClick();
    }
};

// `list` when it is a `Wanted`, else null: the argument of SetAttValue for the case's vector.
template <class Wanted, class Given> Wanted* IfVector(Given& list) {
    if constexpr (std::is_same_v<Wanted, Given>) {
        return &list;
    } else {
        return nullptr;
    }
}
std::string Plain(const KesUnicodeString& text) {
    return text.Str();
}
template <class Value> Value Plain(Value value) {
    return value;
}

template <class Case> class KesMultiValueConformance : public ::testing::Test {
protected:
    using Sequence = std::vector<typename Case::Value>;
    using Vector = std::remove_cvref_t<decltype(KesValueVectors().*Case::kVector)>;

    typename Case::Attribute* Make(int count, int visible = 5, int countMode = 0) {
        attribute = Case::Make(&frame, Collect(Samples(1, count)));
        attribute->SetNbVisibleVals(visible);
        attribute->SetNbValModifMode(countMode);
        attribute->Display();
        return attribute;
    }
    static Sequence Samples(int first, int last) {
        Sequence values;
        for (int j = first; j <= last; ++j) {
            values.push_back(Case::Sample(j));
        }
        return values;
    }
    static Vector Collect(const Sequence& values) {
        Vector list;
        for (const auto& v : values) {
            list.Append(v);
        }
        return list;
    }
    void Push(const Sequence& values, int notify) {
        Vector list = Collect(values);
        attribute->SetAttValue(IfVector<KesRawCollint>(list), IfVector<KesRawColldouble>(list),
                               IfVector<KesListValKesUnicodeString>(list), notify);
    }
    static Sequence Out(const KesValueVectors& vectors) {
        Sequence values;
        for (const auto& v : (vectors.*Case::kVector).Items()) {
            values.push_back(Plain(v));
        }
        return values;
    }
    Sequence Values() {
        KesValueVectors vectors;
        vectors.GetAttValue(*attribute);
        return Out(vectors);
    }
    const auto& List() const { return attribute->GetValueList(); }
    KesDialog* Field(int i) const { return List().GetValueFields()[i]; }
    KesDlgScrollBar* Bar() const { return List().GetValueScrollBar(); }
    // Range maximum, box size and position of the scroll bar.
    std::tuple<int, int, int> Scroll() const {
        return {Bar()->GetScrollMaximum(), Bar()->GetScrollBoxSize(), Bar()->GetScrollPos()};
    }
    // What the shown fields show, in order; hidden fields must carry the filler.
    Sequence Window() const {
        Sequence shown;
        for (int i = 1; i <= List().GetValueFields().Size(); ++i) {
            if (Field(i)->GetVisibility() == kes::kShown) {
                shown.push_back(Case::Shown(Field(i)));
            } else {
                EXPECT_EQ(Case::Shown(Field(i)), typename Case::Value{}) << "hidden field " << i;
            }
        }
        return shown;
    }
    int Notified() const { return frame.Count("KesMfgAttNotifyModif"); }
    // Counted only where no refresh raises notifications of its own.
    void ExpectNotified(int count) const {
        if (!std::is_same_v<Case, LogicCase>) {
            EXPECT_EQ(Notified(), count);
        }
    }

    KesDlgTestFrame frame;
    typename Case::Attribute* attribute = nullptr;
    KesStdoutCapture stdoutCapture; // keeps the edit lines out of the test log
};

using KesWindowedCases = ::testing::Types<IntCase, DoubleCase, CharCase, LogicCase>;
TYPED_TEST_SUITE(KesMultiValueConformance, KesWindowedCases);

// ---------------------------------------------------------------------------------------------
// Display and the window model
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, DisplayBuildsTheWindowOverTheFirstValues) {
    auto* attribute = this->Make(3);
    ASSERT_EQ(attribute->GetChildCount(), 3);                    // label, value frame, scroll bar
    EXPECT_EQ(this->List().GetValueFrame()->GetChildCount(), 6); // the menu and five fields
    EXPECT_EQ(this->Window(), this->Samples(1, 3));
    EXPECT_EQ(this->Scroll(), std::make_tuple(3, 3, 0));

    this->Make(3, 5, 1); // a fixed count builds no menu
    EXPECT_EQ(this->List().GetAddItem(), nullptr);
    EXPECT_EQ(this->List().GetValueFrame()->GetChildCount(), 5);
}

// ---------------------------------------------------------------------------------------------
// Scrolling
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, ScrollingMovesTheWindowAndAnEditStoresAtTheShownPosition) {
    this->Make(9);
    EXPECT_EQ(this->Scroll(), std::make_tuple(9, 5, 0));
    EXPECT_TRUE(this->Bar()->UserDrag(1));
    EXPECT_EQ(this->Window(), this->Samples(2, 6));
    EXPECT_TRUE(this->Bar()->UserScroll(100)); // kept within the range by the scroll bar
    EXPECT_EQ(this->Window(), this->Samples(5, 9));
    EXPECT_TRUE(this->Bar()->UserScroll(-3));
    EXPECT_EQ(this->Window(), this->Samples(1, 5));
    EXPECT_EQ(this->Values(), this->Samples(1, 9));
    this->ExpectNotified(0);

    EXPECT_TRUE(this->Bar()->UserScroll(4));
    ASSERT_TRUE(TypeParam::Edit(this->Field(2), TypeParam::Sample(100)));
    auto expected = this->Samples(1, 9);
    expected[5] = TypeParam::Sample(100); // value 6 = p + field 2
    EXPECT_EQ(this->Values(), expected);
    EXPECT_EQ(this->Window(), std::vector(expected.begin() + 4, expected.end()));
}

// ---------------------------------------------------------------------------------------------
// Adding and removing
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, AddAppendsTheNewValueWithoutMovingTheWindow) {
    this->Make(5);
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    auto expected = this->Samples(1, 5);
    expected.push_back(typename TypeParam::Value{});
    EXPECT_EQ(this->Values(), expected);
    EXPECT_EQ(this->Scroll(), std::make_tuple(6, 5, 0));
    EXPECT_EQ(this->Window(), this->Samples(1, 5));
    this->Bar()->UserScroll(1);
    EXPECT_EQ(this->Window(), std::vector(expected.begin() + 1, expected.end()));
    this->ExpectNotified(1);
}

TYPED_TEST(KesMultiValueConformance, RemoveDropsTheLastValueAndKeepsTheWindowFull) {
    struct Case {
        int count, position;
        std::tuple<int, int, int> scroll; // after Remove
        int firstShown, lastShown;
    };
    const Case cases[] = {
        {7, 2, {6, 5, 1}, 2, 6}, // scrolled to the end: the window moves up by one
        {7, 1, {6, 5, 1}, 2, 6}, // not showing the last value: it stays
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
        this->ExpectNotified(1);
    }
}

// Remove is shown on a list built empty, and hidden while a list built with values has one.
TYPED_TEST(KesMultiValueConformance, RemoveOnAnEmptyListNeverGoesBelowZeroValues) {
    this->Make(0);
    KesDlgPushItem* remove = this->List().GetRemoveItem();
    EXPECT_EQ(remove->GetVisibility(), kes::kShown);
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_EQ(this->Values(), typename TestFixture::Sequence());
    EXPECT_EQ(this->Scroll(), std::make_tuple(0, 0, 0));
    this->ExpectNotified(0);
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    const typename TestFixture::Sequence one{typename TypeParam::Value{}};
    EXPECT_EQ(this->Values(), one);
    EXPECT_EQ(this->Window(), one);

    this->Make(1);
    remove = this->List().GetRemoveItem();
    EXPECT_EQ(remove->GetVisibility(), kes::kHidden);
    EXPECT_FALSE(remove->UserActivate());
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    EXPECT_EQ(remove->GetVisibility(), kes::kShown);
    EXPECT_TRUE(remove->UserActivate());
    EXPECT_EQ(remove->GetVisibility(), kes::kHidden);
    EXPECT_EQ(this->Values(), this->Samples(1, 1));
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
// Remove is offered as Display offers it, whoever set the values: hidden at exactly one value
// (the user cannot remove the last one), shown at any other count. It was left hidden after a
// caller gave a one-value list two values, and shown after Add gave an empty list one.
TYPED_TEST(KesMultiValueConformance, RemoveIsOfferedAsTheCountAsks) {
    this->Make(1);
    KesDlgPushItem* remove = this->List().GetRemoveItem();
    const struct {
        int first, last; // the values pushed, Samples(first, last)
        int visibility;
    } rows[] = {{1, 2, kes::kShown}, {1, 1, kes::kHidden}, {3, 5, kes::kShown}};
    for (const auto& row : rows) {
        this->Push(this->Samples(row.first, row.last), 0);
        EXPECT_EQ(remove->GetVisibility(), row.visibility) << row.first << ".." << row.last;
    }
    this->Make(0);
    EXPECT_TRUE(this->List().GetAddItem()->UserActivate());
    EXPECT_EQ(this->List().GetRemoveItem()->GetVisibility(), kes::kHidden);
}

TYPED_TEST(KesMultiValueConformance, SetAttValueReplacesTheListFromTheFirstValue) {
    auto* attribute = this->Make(9);
    this->Bar()->UserScroll(3);
    this->frame.Clear();
    this->Push({}, 1); // an empty or a null vector keeps the list
    attribute->SetAttValue(nullptr, nullptr, nullptr, 1);
    EXPECT_EQ(this->Values(), this->Samples(1, 9));
    this->Push(this->Samples(11, 13), 0);
    EXPECT_EQ(this->Scroll(), std::make_tuple(3, 3, 0));
    EXPECT_EQ(this->Window(), this->Samples(11, 13));
    EXPECT_EQ(this->Notified(), 0);
    KesValueVectors vectors;
    vectors.Output(*attribute, 1);
    EXPECT_EQ(vectors.counts, (KesRawCollint{3}));
    EXPECT_EQ(this->Out(vectors), this->Samples(11, 13));

    this->Push(this->Samples(1, 9), 1);
    EXPECT_EQ(this->Notified(), 1);
    vectors.Clear();
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty()); // the original list again
}

TYPED_TEST(KesMultiValueConformance, OutputReportsAChangedListUntilItIsChangedBack) {
    auto* attribute = this->Make(3);
    KesValueVectors vectors;
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    ASSERT_TRUE(TypeParam::Edit(this->Field(1), TypeParam::Sample(100)));
    vectors.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(vectors.counts, (KesRawCollint{3, 3}));
    ASSERT_TRUE(TypeParam::Edit(this->Field(1), TypeParam::Sample(1)));
    vectors.Clear();
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Misuse and reentrancy
// ---------------------------------------------------------------------------------------------
TYPED_TEST(KesMultiValueConformance, OperationsBeforeDisplayAreIgnored) {
    auto* attribute = this->attribute =
        TypeParam::Make(&this->frame, this->Collect(this->Samples(1, 3)));
    this->Push(this->Samples(4, 9), 1);
    attribute->AddValue(nullptr, nullptr, nullptr);
    attribute->RemoveValue(nullptr, nullptr, nullptr);
    attribute->ScrollModified(nullptr, nullptr, nullptr);
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    KesValueVectors vectors;
    EXPECT_EQ(vectors.GetAttValue(*attribute), 1);
    EXPECT_TRUE(vectors.Output(*attribute, 1).IsEmpty());
    EXPECT_EQ(this->frame.GetReceived().size(), 0u);
    attribute->Display();
    EXPECT_EQ(this->Values(), this->Samples(1, 3));
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
            TypeParam::Edit(list.GetValueFields()[1], TypeParam::Sample(100));
            break;
        default:
            this->Push(this->Samples(2, 8), 1);
        }
        EXPECT_TRUE(deleted) << operation;
    }
}

} // namespace
