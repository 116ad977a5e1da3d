// KesMfgImpactTable: the impact mechanism, through which a steering attribute (an integer or
// text choice list, a boolean) switches the sensitivity of other attributes of the panel
// according to its current value. Written once for every type of impact value; each steering
// attribute holds one table and forwards AddImpactedAttributes and ImpactAttributes to it.
//
// The table holds N impacted attributes, M impact values and a sensitivity table of M rows of
// N flags, row after row: the flag for impact value j and impacted attribute i stands at
// (j - 1) x N + i (1-based). ImpactAttributes:
//  1. While the steering attribute is sensitive (its own flag, IsSetSensitivity): for each
//     impacted attribute i, and within it for each impact value j equal to the steering
//     attribute's current value, the impacted attribute gets SetSensitivity(8) when the flag
//     is not 0 and SetSensitivity(16) when it is 0. When several impact values are equal, the
//     last one decides. An impacted attribute that no impact value concerns keeps its
//     sensitivity; so does every impacted attribute while the steering attribute has no
//     current value (nothing selected). A flag missing from a table shorter than M x N counts
//     as not given: that attribute keeps its sensitivity too.
//  2. While the steering attribute is insensitive: SetSensitivity(16) on every impacted
//     attribute.
//  3. Then, in both cases, ImpactAttributes of every impacted attribute, in order (the
//     cascade), so that the attributes they steer follow.
// SetSensitivity is the attribute's own virtual operation: an impacted attribute whose edit
// mode is not 1 ignores it. Only sensitivity changes, never visibility. Null entries of the
// impacted attributes list are skipped.
//
// The cascade runs in the order of the recursive description above, but without recursion:
// an explicit stack keeps it within constant native stack depth, so a chain of any length is
// safe. Each attribute is guarded while its own impacts are being applied: a cycle (A impacts
// B and B impacts A, or A impacts itself) stops where it would re-enter an attribute that is
// still applying its impacts. Without a cycle nothing is skipped: an attribute reached twice
// (a diamond) is visited twice, and its last visit decides. The impacted attributes are not
// owned and must outlive the table's use.
#pragma once

#include "framework/KesListPtrKesMfgAttribute.h"
#include "framework/KesMfgAttribute.h"
#include "platform/KesRawCollint.h"

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class KesMfgImpactCascade;

// The part of an impact table that does not depend on the type of the impact values: the
// impacted attributes, the sensitivity table and the cascade.
class KesMfgImpactNode {
public:
    KesMfgImpactNode(const KesMfgImpactNode&) = delete;
    KesMfgImpactNode& operator=(const KesMfgImpactNode&) = delete;

    // Applies this table's impacts, then cascades into the impacted attributes. Returns at
    // once while this table is already applying its impacts (a cycle).
    void ImpactAttributes();

    bool HasImpactedAttributes() const { return impacted_.Size() > 0; }
    const KesListPtrKesMfgAttribute& GetImpactedAttributes() const { return impacted_; }
    const KesRawCollint& GetReservedVector() const { return reserved_; }
    const KesRawCollint& GetSensitivityTable() const { return sensitivities_; }

protected:
    // `steering` is the attribute whose sensitivity decides between steps 1 and 2.
    explicit KesMfgImpactNode(const KesDialog* steering) : steering_(steering) {}
    virtual ~KesMfgImpactNode();

    void AssignLists(const KesListPtrKesMfgAttribute& attributes, const KesRawCollint& reserved,
                     const KesRawCollint& sensitivities);

    // Steps 1 and 2 for this table alone.
    virtual void ApplyOwnImpacts() = 0;

    bool SteeringIsSensitive() const { return steering_->IsSetSensitivity(); }
    int ImpactedCount() const { return impacted_.Size(); }
    // Impacted attribute `attribute` follows the flag of impact value `impactValue`; nothing
    // when the flag lies beyond the end of the sensitivity table.
    void ApplyFlag(int attribute, int impactValue) const;
    // Step 2: every impacted attribute becomes insensitive.
    void MakeAllInsensitive() const;

private:
    friend class KesMfgImpactCascade;

    const KesDialog* steering_;
    KesListPtrKesMfgAttribute impacted_; // not owned
    KesRawCollint reserved_;             // stored for the caller, never read
    KesRawCollint sensitivities_;        // M rows of N flags
    bool applying_ = false;              // set while the impacts of this table are applied
};

// The impact table of one steering attribute, for impact values held in `ValueList`
// (KesRawCollint for the integer list and the boolean, KesListValKesUnicodeString for the text
// list). `current` answers the steering attribute's current value, or nothing when no value is
// selected.
template <class ValueList> class KesMfgImpactTable final : public KesMfgImpactNode {
public:
    using Value = std::remove_cvref_t<decltype(std::declval<const ValueList&>()[1])>;
    using CurrentValue = std::function<std::optional<Value>()>;

    KesMfgImpactTable(const KesDialog* steering, CurrentValue current)
        : KesMfgImpactNode(steering), current_(std::move(current)) {}
    ~KesMfgImpactTable() override = default;

    // Replaces the four lists by copies of the arguments; a second call replaces the first
    // one's lists.
    void Assign(const KesListPtrKesMfgAttribute& attributes, const KesRawCollint& reserved,
                const ValueList& impactValues, const KesRawCollint& sensitivities) {
        AssignLists(attributes, reserved, sensitivities);
        impactValues_ = impactValues;
    }

    const ValueList& GetImpactValues() const { return impactValues_; }

private:
    void ApplyOwnImpacts() override {
        if (!SteeringIsSensitive()) {
            MakeAllInsensitive();
            return;
        }
        const std::optional<Value> current = current_ ? current_() : std::nullopt;
        if (!current) {
            return; // nothing selected: no impact value can be equal to it
        }
        // Sizes are read at each turn: SetSensitivity is virtual and may run caller code.
        for (int i = 1; i <= ImpactedCount(); ++i) {
            for (int j = 1; j <= impactValues_.Size(); ++j) {
                if (impactValues_[j] == *current) {
                    ApplyFlag(i, j);
                }
            }
        }
    }

    CurrentValue current_;
    ValueList impactValues_;
};
