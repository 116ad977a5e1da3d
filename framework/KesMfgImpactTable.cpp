// The impact tables' common part and the cascade.
//
// The cascade is the depth-first walk "apply my impacts, then ImpactAttributes of each
// impacted attribute in order", run on an explicit stack of frames instead of native
// recursion. The impacted attributes are still asked through their virtual ImpactAttributes,
// so that every kind of attribute answers for itself; a steering attribute asked while a
// cascade runs does not recurse but hands its table to the running cascade, which starts it
// right after the call returns, exactly where the recursive walk would have descended.
#include "framework/KesMfgImpactTable.h"

#include <algorithm>
#include <vector>

// One cascade at a time runs on the dialog thread; it lives on the stack of the
// ImpactAttributes call that started it.
class KesMfgImpactCascade {
public:
    explicit KesMfgImpactCascade(KesMfgImpactNode* root) {
        running_ = this;
        pending_.push_back(root);
    }
    ~KesMfgImpactCascade() {
        // Normally the stack is empty here; after an exception, release the guards.
        for (const Frame& frame : stack_) {
            if (frame.node != nullptr && frame.next > 0) {
                frame.node->applying_ = false;
            }
        }
        running_ = nullptr;
    }
    KesMfgImpactCascade(const KesMfgImpactCascade&) = delete;
    KesMfgImpactCascade& operator=(const KesMfgImpactCascade&) = delete;

    static KesMfgImpactCascade* Running() { return running_; }

    // A table asked to apply its impacts while the cascade runs: it is started when the
    // call that asked it returns.
    void Enter(KesMfgImpactNode* node) { pending_.push_back(node); }

    // A table destroyed while the cascade runs is dropped from it.
    void Forget(const KesMfgImpactNode* node) {
        for (Frame& frame : stack_) {
            if (frame.node == node) {
                frame.node = nullptr;
            }
        }
        std::erase(pending_, node);
    }

    void Run() {
        PushPending();
        while (!stack_.empty()) {
            Step();
        }
    }

private:
    struct Frame {
        KesMfgImpactNode* node; // null once destroyed
        int next;               // 0: not started; then the next impacted attribute to ask
    };

    // The tables asked during one call go on the stack so that the first asked runs first.
    void PushPending() {
        for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
            stack_.push_back(Frame{*it, 0});
        }
        pending_.clear();
    }

    void Step() {
        // `frame` is not used after a call into attribute code: the stack may grow meanwhile.
        Frame& frame = stack_.back();
        KesMfgImpactNode* node = frame.node;
        if (node == nullptr) {
            stack_.pop_back();
            return;
        }
        if (frame.next == 0) {
            if (node->applying_) {
                stack_.pop_back(); // re-entered while applying its own impacts: a cycle
                return;
            }
            node->applying_ = true;
            frame.next = 1;
            node->ApplyOwnImpacts();
            PushPending();
            return;
        }
        if (frame.next > node->impacted_.Size()) {
            node->applying_ = false;
            stack_.pop_back();
            return;
        }
        KesMfgAttribute* impacted = node->impacted_[frame.next];
        ++frame.next;
        if (impacted != nullptr) {
            impacted->ImpactAttributes();
        }
        PushPending();
    }

    static KesMfgImpactCascade* running_;
    std::vector<Frame> stack_;
    std::vector<KesMfgImpactNode*> pending_;
};

KesMfgImpactCascade* KesMfgImpactCascade::running_ = nullptr;

// ---------------------------------------------------------------------------------------------
// KesMfgImpactNode
// ---------------------------------------------------------------------------------------------
KesMfgImpactNode::~KesMfgImpactNode() {
    if (KesMfgImpactCascade* cascade = KesMfgImpactCascade::Running()) {
        cascade->Forget(this);
    }
}

void KesMfgImpactNode::ImpactAttributes() {
    if (applying_) {
        return;
    }
    if (KesMfgImpactCascade* cascade = KesMfgImpactCascade::Running()) {
        cascade->Enter(this);
        return;
    }
    KesMfgImpactCascade cascade(this);
    cascade.Run();
}

void KesMfgImpactNode::AssignLists(const KesListPtrKesMfgAttribute& attributes,
                                   const KesRawCollint& reserved,
                                   const KesRawCollint& sensitivities) {
    impacted_ = attributes;
    reserved_ = reserved;
    sensitivities_ = sensitivities;
}

void KesMfgImpactNode::ApplyFlag(int attribute, int impactValue) const {
    const long long position =
        static_cast<long long>(impactValue - 1) * impacted_.Size() + attribute;
    if (position < 1 || position > sensitivities_.Size()) {
        return; // the table is shorter than M x N: no flag given
    }
    if (KesMfgAttribute* impacted = impacted_[attribute]) {
        impacted->SetSensitivity(
            sensitivities_[static_cast<int>(position)] != 0 ? kes::kSensitive : kes::kInsensitive);
    }
}

void KesMfgImpactNode::MakeAllInsensitive() const {
    for (int i = 1; i <= impacted_.Size(); ++i) {
        if (KesMfgAttribute* impacted = impacted_[i]) {
            impacted->SetSensitivity(kes::kInsensitive);
        }
    }
}
