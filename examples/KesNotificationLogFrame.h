// KesNotificationLogFrame: kes-panel's parent frame. A KesDlgTestFrame, whose records the
// session driver reads and clears after each command, that also keeps every notification it
// ever received as a line of the transcript ("<- KesMfgAttNotifyModif from Depth"), for the
// window's notifications pane.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgTestFrame.h"

#include <string>
#include <vector>

class KesNotificationLogFrame : public KesDlgTestFrame {
public:
    explicit KesNotificationLogFrame(const KesString& name) : KesDlgTestFrame(name) {}

    // Logs the notification (an attribute by its record name, other widgets by their
    // identifier, as the transcript names them), then records it and lets it go on.
    void AnalyseNotification(KesCommand* sender, KesNotification* notification) override {
        std::string from;
        if (const auto* attribute = dynamic_cast<const KesMfgAttribute*>(sender)) {
            from = attribute->GetRecordName().Str();
        } else if (const auto* widget = dynamic_cast<const KesDialog*>(sender)) {
            from = widget->GetName().Str();
        }
        log_.push_back("<- " + std::string(notification->IsA()) + " from " + from);
        KesDlgTestFrame::AnalyseNotification(sender, notification);
    }

    // Every notification received since construction (or ClearLog), oldest first.
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

private:
    std::vector<std::string> log_;
};
