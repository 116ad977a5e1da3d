// KesPanelBuilder: builds the panel of a KesPanelDescription into a parent frame through the
// public constructors and setters of the attribute classes, so that a panel from a file
// behaves exactly as the same panel written in C++.
//
// The order is that of a panel written by hand: the model parameters are created; each
// attribute is constructed, in order, with its setters that come before Display (option mode,
// to be defined, visible text width, visible value count, fixed count); every attribute is
// displayed; then come the setters that need the widgets (edit mode, context access, help,
// icons); then every steering attribute gets its impacts, and the impacts are applied, steering
// attribute by steering attribute in panel order. A link with relays hands its records over on
// each press of its button, as the owner of a sub-dialog would (a callback on the frame).
#pragma once

#include "framework/KesMfgAttribute.h"
#include "tools/KesPanelDescription.h"

#include <memory>
#include <string>
#include <vector>

class KesPanelBuilder {
public:
    KesPanelBuilder() = default;
    KesPanelBuilder(const KesPanelBuilder&) = delete;
    KesPanelBuilder& operator=(const KesPanelBuilder&) = delete;

    // Checks `description` (KesPanelDescription::Check; none of its model parameters may exist
    // in the model yet), then builds it into `frame`, which owns the attributes. Returns "" when
    // built; otherwise the fault, and nothing is built and the model is unchanged. The builder
    // keeps the title lists the boolean classes hold a pointer to: keep it alive as long as
    // the panel.
    std::string Build(const KesPanelDescription& description, KesDlgFrame& frame);

    // The attributes built, in panel order.
    const std::vector<KesMfgAttribute*>& Attributes() const { return attributes_; }

private:
    std::vector<std::unique_ptr<KesListValKesUnicodeString>> titles_;
    std::vector<KesMfgAttribute*> attributes_;
};
