// Test support: a top-level frame that records every notification it receives.
//
// Build a panel's attributes in a KesDlgTestFrame, act on the widgets with their User...
// actions, and read back which notifications reached the frame, from which sender, in order.
// The frame records a notification and then lets it go on as any frame would.
#pragma once

#include "platform/KesDlgFrame.h"

#include <string>
#include <vector>

class KesDlgTestFrame : public KesDlgFrame {
public:
    struct Received {
        std::string className;  // IsA() of the notification
        KesCommand* sender;     // for comparison only: it may have been deleted since
        std::string senderName; // the sender's widget identifier when it arrived
    };

    explicit KesDlgTestFrame(const KesString& name = "TestFrame") : KesDlgFrame(nullptr, name) {}

    void AnalyseNotification(KesCommand* sender, KesNotification* notification) override {
        const auto* widget = dynamic_cast<const KesDialog*>(sender);
        received_.push_back(
            Received{notification->IsA(), sender, widget ? widget->GetName().Str() : std::string()});
        KesDlgFrame::AnalyseNotification(sender, notification);
    }

    const std::vector<Received>& GetReceived() const { return received_; }
    // How many notifications of this class arrived (from any sender, or from `sender`).
    int Count(const std::string& className, const KesCommand* sender = nullptr) const {
        int count = 0;
        for (const Received& r : received_) {
            count += (r.className == className && (sender == nullptr || r.sender == sender));
        }
        return count;
    }
    // The class names received, in order.
    std::vector<std::string> ClassNames() const {
        std::vector<std::string> names;
        for (const Received& r : received_) {
            names.push_back(r.className);
        }
        return names;
    }
    void Clear() { received_.clear(); }

private:
    std::vector<Received> received_;
};
