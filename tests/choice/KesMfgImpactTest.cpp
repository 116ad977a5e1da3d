// The impact mechanism, driven through the integer choice list: the sensitivity table, the
// insensitive steering attribute, edit mode 0, the cascade in chains, diamonds and cycles.
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every SetSensitivity that reaches an attribute, in order, as "name:value".
std::vector<std::string> sensitivityLog;

template <class Attribute> class Logged : public Attribute {
public:
    using Attribute::Attribute;
    void SetSensitivity(unsigned long sensitivity) override {
        sensitivityLog.push_back(this->GetAttributeName().Str() + ":" +
                                 std::to_string(sensitivity));
        Attribute::SetSensitivity(sensitivity);
    }
};
using SteeringList = Logged<KesMfgAttIntList>;
using Target = Logged<KesMfgAttInt>;

KesListPtrKesMfgAttribute List(std::initializer_list<KesMfgAttribute*> attributes) {
    KesListPtrKesMfgAttribute list;
    for (KesMfgAttribute* attribute : attributes) {
        list.Append(attribute);
    }
    return list;
}

// The integer impact lists of a steering attribute (the reserved vector left empty).
void Impact(KesMfgAttribute* steering, const KesListPtrKesMfgAttribute& attributes,
            const KesRawCollint& impactValues, const KesRawCollint& sensitivities) {
    steering->AddImpactedAttributes(attributes, KesRawCollint(), impactValues, sensitivities);
}

class KesMfgImpactTest : public ::testing::Test {
protected:
    void SetUp() override { sensitivityLog.clear(); }

    // Values 1, 2, 3 in a combo, `reference` selected.
    SteeringList* Steering(const char* name, int reference) {
        auto* list = new SteeringList(name, name, reference, {1, 2, 3}, {"one", "two", "three"}, 0,
                                      &frame, 1, 0);
        list->Display();
        return list;
    }
    Target* Plain(const char* name) {
        auto* target = new Target(name, name, 0, 0, 0, 0, &frame, 1);
        target->Display();
        return target;
    }
    static void Pick(KesMfgAttIntList* list, int row) {
        ASSERT_TRUE(list->GetComboWidget()->UserSelect(row));
    }

    KesDlgTestFrame frame;
};

// ---------------------------------------------------------------------------------------------
// The sensitivity table
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgImpactTest, TableRowOfTheSelectedValueSwitchesEachImpactedAttribute) {
    SteeringList* steering = Steering("Mode", 3);
    Target* a = Plain("A");
    Target* b = Plain("B");
    Impact(steering, List({a, b}), {1, 2}, {1, 0, 0, 1});

    Pick(steering, 0); // 1
    Pick(steering, 1); // 2
    Pick(steering, 2); // 3: no impact value concerns it
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:8", "B:16", "A:16", "B:8"}));
    EXPECT_FALSE(a->IsSetSensitivity());
    EXPECT_TRUE(b->IsSetSensitivity());
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 3);
}

TEST_F(KesMfgImpactTest, LastEqualImpactValueDecidesAndANullAttributeIsSkipped) {
    SteeringList* steering = Steering("Mode", 1);
    Target* a = Plain("A");
    Impact(steering, List({nullptr, a}), {1, 2, 1}, {0, 1, 0, 1, 0, 0}); // null: skipped
    steering->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:8", "A:16"}));
    EXPECT_FALSE(a->IsSetSensitivity());
}

TEST_F(KesMfgImpactTest, InsensitiveSteeringTurnsEveryImpactedOffButEditModeZeroIsKept) {
    SteeringList* steering = Steering("Mode", 1);
    Target* a = Plain("A");
    Target* b = Plain("B");
    b->SetEditMode(0);
    Impact(steering, List({a, b}), {1}, {1, 0});
    steering->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:8", "B:16"})); // B: asked, ignored
    EXPECT_TRUE(b->IsSetSensitivity());
    steering->SetSensitivity(kes::kInsensitive);
    sensitivityLog.clear();
    steering->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:16", "B:16"}));
    EXPECT_FALSE(a->IsSetSensitivity());
    EXPECT_TRUE(b->IsSetSensitivity());
}

TEST_F(KesMfgImpactTest, ShortSensitivityTableLeavesTheAttributesWithoutFlagAsTheyAre) {
    SteeringList* steering = Steering("Mode", 2);
    Target* a = Plain("A");
    Target* b = Plain("B");
    b->SetSensitivity(kes::kInsensitive);
    Impact(steering, List({a, b}), {1, 2}, {0, 0, 0}); // flag (2, B) missing
    sensitivityLog.clear();
    steering->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:16"}));
    EXPECT_FALSE(b->IsSetSensitivity());

    Impact(steering, List({a, b}), {1, 2}, {}); // no flag at all
    sensitivityLog.clear();
    steering->ImpactAttributes();
    EXPECT_TRUE(sensitivityLog.empty());
}

TEST_F(KesMfgImpactTest, NothingSelectedLeavesImpactedAttributesButStillCascades) {
    SteeringList* steering = Steering("Mode", 9); // 9 is not allowed: nothing selected
    SteeringList* next = Steering("Next", 1);
    Target* last = Plain("Last");
    Impact(steering, List({next}), {1, 2, 3, 0}, {0, 0, 0, 0});
    Impact(next, List({last}), {1}, {0});
    steering->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"Last:16"}));
    EXPECT_TRUE(next->IsSetSensitivity());
}

// ---------------------------------------------------------------------------------------------
// The cascade
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgImpactTest, ChainFollowsAnAttributeMadeInsensitive) {
    SteeringList* c = Steering("C", 1);
    SteeringList* d = Steering("D", 1);
    Target* e = Plain("E");
    Impact(c, List({d}), {1, 2}, {1, 0});
    Impact(d, List({e}), {1}, {1});
    Pick(c, 1); // 2: D off, so E off although D's own table would switch it on
    EXPECT_FALSE(d->IsSetSensitivity());
    EXPECT_FALSE(e->IsSetSensitivity());
    Pick(c, 0); // 1: D on, and D's value 1 switches E on
    EXPECT_TRUE(d->IsSetSensitivity());
    EXPECT_TRUE(e->IsSetSensitivity());
}

// A diamond: C is reached through B and straight from A; the last visit of X decides.
TEST_F(KesMfgImpactTest, CascadeIsDepthFirstInListOrderAndInADiamondTheLastVisitDecides) {
    SteeringList* a = Steering("A", 1);
    SteeringList* b = Steering("B", 1);
    SteeringList* c = Steering("C", 1);
    Target* x = Plain("X");
    Target* y = Plain("Y");
    Impact(a, List({b, x, c}), {1}, {1, 1, 1});
    Impact(b, List({y, c}), {1}, {0, 1});
    Impact(c, List({x}), {1}, {0});
    a->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"B:8", "X:8", "C:8", // A
                                                        "Y:16", "C:8",       // B
                                                        "X:16",              // C under B
                                                        "X:16"}));           // C under A
    EXPECT_FALSE(x->IsSetSensitivity());
}

TEST_F(KesMfgImpactTest, CycleStopsWhereAnAttributeWouldBeReentered) {
    SteeringList* a = Steering("A", 1);
    SteeringList* b = Steering("B", 1);
    Impact(a, List({b}), {1}, {1});
    Impact(b, List({a}), {1}, {1});
    a->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"B:8", "A:8"}));
    sensitivityLog.clear();
    Pick(b, 0); // from the user, the other way round
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"A:8", "B:8"}));

    // An attribute impacting itself is applied once, in the sensitive and insensitive branch.
    SteeringList* self = Steering("S", 1);
    Target* x = Plain("X");
    Impact(self, List({self, x}), {1}, {0, 0});
    sensitivityLog.clear();
    self->ImpactAttributes();
    self->ImpactAttributes();
    EXPECT_EQ(sensitivityLog, (std::vector<std::string>{"S:16", "X:16", "S:16", "X:16"}));
    EXPECT_FALSE(self->IsSetSensitivity());
}

TEST_F(KesMfgImpactTest, TenThousandAttributesInAChainAndAClosingCycle) {
    constexpr int kLength = 10000;
    std::vector<KesMfgAttIntList*> chain;
    for (int i = 0; i < kLength; ++i) {
        auto* list =
            new KesMfgAttIntList("Link", "Link", 2, {1, 2}, {"one", "two"}, 0, &frame, 1, 0);
        list->Display();
        chain.push_back(list);
    }
    for (int i = 0; i + 1 < kLength; ++i) {
        Impact(chain[i], List({chain[i + 1]}), {1, 2}, {0, 1});
    }
    Pick(chain.front(), 0); // 1: the second is switched off, and every one after it
    EXPECT_FALSE(chain[1]->IsSetSensitivity());
    EXPECT_FALSE(chain.back()->IsSetSensitivity());
    Pick(chain.front(), 1); // 2: each switches the next on again
    EXPECT_TRUE(chain.back()->IsSetSensitivity());

    Impact(chain.back(), List({chain.front()}), {2}, {0});
    chain.front()->ImpactAttributes();
    EXPECT_FALSE(chain.front()->IsSetSensitivity()); // switched off by the last one
    EXPECT_TRUE(chain.back()->IsSetSensitivity());   // the cycle stopped at the first one
}

} // namespace
