// Binding table and delivery of the command framework.
//
// Bindings are kept in one process-wide table keyed by sender, so that delivery finds the few
// bindings of one sender directly, whatever the number of widgets. Each target remembers the
// senders it bound to, so that its destruction removes exactly its own bindings.
#include "platform/KesCommand.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

struct Binding {
    KesCommand* target;
    const KesMetaObject* kind; // the notification's class: one meta-object per class name
    KesCommand::Callback callback;
    void** clientData;
};

struct BindingTable {
    std::unordered_map<const KesCommand*, std::vector<Binding>> bySender;
    std::unordered_map<const KesCommand*, std::unordered_set<const KesCommand*>> sendersOfTarget;
};

// Never freed, so commands destroyed during static destruction still find it.
BindingTable& Table() {
    static auto* table = new BindingTable;
    return *table;
}

} // namespace

KesCommand::KesCommand() : alive_(std::make_shared<bool>(true)) {}

KesCommand::~KesCommand() {
    beingDestroyed_ = true;
    *alive_ = false;
    BindingTable& table = Table();
    table.bySender.erase(this);
    const auto senders = table.sendersOfTarget.find(this);
    if (senders != table.sendersOfTarget.end()) {
        for (const KesCommand* sender : senders->second) {
            const auto bindings = table.bySender.find(sender);
            if (bindings == table.bySender.end()) {
                continue;
            }
            std::erase_if(bindings->second, [this](const Binding& b) { return b.target == this; });
            if (bindings->second.empty()) {
                table.bySender.erase(bindings);
            }
        }
        table.sendersOfTarget.erase(senders);
    }
}

void KesCommand::AddCallback(KesCommand* sender, KesNotification* notification, Callback callback,
                             void** clientData) {
    if (sender == nullptr || notification == nullptr || !callback) {
        return;
    }
    BindingTable& table = Table();
    table.bySender[sender].push_back(
        Binding{this, notification->GetMetaObject(), std::move(callback), clientData});
    table.sendersOfTarget[this].insert(sender);
}

void KesCommand::SendNotification(KesCommand* target, KesNotification* notification) {
    if (notification == nullptr) {
        return;
    }
    if (target != nullptr) {
        target->AnalyseNotification(this, notification);
    }
    notification->Release();
}

void KesCommand::AnalyseNotification(KesCommand* sender, KesNotification* notification) {
    if (beingDestroyed_) {
        return; // nothing reaches a command being destroyed, nor goes past it
    }
    const std::shared_ptr<const bool> alive = alive_;
    if (RunBoundCallbacks(sender, notification)) {
        return;
    }
    if (*alive) {
        if (KesCommand* father = GetFather()) {
            father->AnalyseNotification(sender, notification);
        }
    }
}

bool KesCommand::RunBoundCallbacks(KesCommand* sender, KesNotification* notification) {
    if (beingDestroyed_) {
        return true; // taken, and dropped
    }
    BindingTable& table = Table();
    const auto found = table.bySender.find(sender);
    if (found == table.bySender.end()) {
        return false;
    }
    // Copy the matching bindings first: callbacks may bind, unbind or delete commands.
    const KesMetaObject* kind = notification->GetMetaObject();
    std::vector<Binding> matching;
    for (const Binding& binding : found->second) {
        if (binding.target == this && binding.kind == kind) {
            matching.push_back(binding);
        }
    }
    if (matching.empty()) {
        return false;
    }
    const std::shared_ptr<const bool> alive = alive_;
    for (const Binding& binding : matching) {
        binding.callback(sender, notification, binding.clientData);
        if (!*alive) {
            break; // a callback deleted this command: nothing more runs on it
        }
    }
    return true;
}
