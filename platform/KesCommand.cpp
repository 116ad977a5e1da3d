// Bindings and delivery of the command framework.
//
// Each binding is kept by its sender, so that delivery finds the few bindings of one sender
// directly, and each target keeps one entry per binding naming its sender, so that the
// destruction of either side removes exactly its own bindings. Nothing is kept process-wide:
// the cost of binding, delivering and destroying does not grow with the number of widgets.
#include "platform/KesCommand.h"

#include <algorithm>
#include <vector>

namespace {

struct Binding {
    KesCommand* target;
    const KesMetaObject* kind; // the notification's class: one meta-object per class name
    KesCommand::Callback callback;
    void** clientData;
};

} // namespace

struct KesCommand::Links {
    std::vector<Binding> asSender;    // the bindings of what this command sends, in bind order
    std::vector<KesCommand*> senders; // as a target: the sender of each of its bindings
};

KesCommand::KesCommand() = default;

KesCommand::~KesCommand() {
    beingDestroyed_ = true;
    if (alive_ != nullptr) {
        *alive_ = false;
    }
    if (links_ == nullptr) {
        return;
    }
    // As a target: the senders drop the bindings to this command.
    for (KesCommand* sender : links_->senders) {
        if (sender != this && sender->links_ != nullptr) {
            std::erase_if(sender->links_->asSender,
                          [this](const Binding& b) { return b.target == this; });
        }
    }
    // As a sender: each target forgets one entry per binding. Widgets are usually destroyed
    // last bound first: search from the end.
    for (const Binding& binding : links_->asSender) {
        KesCommand* target = binding.target;
        if (target == this || target->links_ == nullptr) {
            continue;
        }
        auto& senders = target->links_->senders;
        const auto found = std::find(senders.rbegin(), senders.rend(), this);
        if (found != senders.rend()) {
            senders.erase(std::next(found).base());
        }
    }
}

std::shared_ptr<const bool> KesCommand::GetAliveToken() const {
    if (alive_ == nullptr) {
        alive_ = std::make_shared<bool>(true);
    }
    return alive_;
}

void KesCommand::AddCallback(KesCommand* sender, KesNotification* notification, Callback callback,
                             void** clientData) {
    if (sender == nullptr || notification == nullptr || !callback) {
        return;
    }
    if (sender->links_ == nullptr) {
        sender->links_ = std::make_unique<Links>();
    }
    if (links_ == nullptr) {
        links_ = std::make_unique<Links>();
    }
    sender->links_->asSender.push_back(
        Binding{this, notification->GetMetaObject(), std::move(callback), clientData});
    links_->senders.push_back(sender);
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
    if (RunBoundCallbacks(sender, notification)) {
        return;
    }
    // No callback ran: this command is still there to pass the notification on.
    if (KesCommand* father = GetFather()) {
        father->AnalyseNotification(sender, notification);
    }
}

bool KesCommand::RunBoundCallbacks(KesCommand* sender, KesNotification* notification) {
    if (beingDestroyed_) {
        return true; // taken, and dropped
    }
    if (sender == nullptr || sender->links_ == nullptr) {
        return false;
    }
    // Copy the matching bindings first: callbacks may bind, unbind or delete commands.
    const KesMetaObject* kind = notification->GetMetaObject();
    std::vector<Binding> matching;
    for (const Binding& binding : sender->links_->asSender) {
        if (binding.target == this && binding.kind == kind) {
            matching.push_back(binding);
        }
    }
    if (matching.empty()) {
        return false;
    }
    const std::shared_ptr<const bool> alive = GetAliveToken();
    for (const Binding& binding : matching) {
        binding.callback(sender, notification, binding.clientData);
        if (!*alive) {
            break; // a callback deleted this command: nothing more runs on it
        }
    }
    return true;
}
