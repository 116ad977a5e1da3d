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
// each press of its button, as the owner of a sub-dialog would (a callback on the frame). A
// link's sub-panel is not built here: whoever opens it builds it (BuildOverModel, into a child
// dialog) and hands its records to the link on its OK (HandRecordsToLink).
//
// Two ways to build: Build takes the description as the whole truth about the model (its
// model parameters are created and none may exist yet: a panel file checked alone, in tests);
// BuildOverModel builds against the model as it stands, as a host opens an operation's panel
// again and again over the document it owns (docs/panel-files.md, "Over a live model").
#pragma once

#include "framework/KesMfgAttribute.h"
#include "tools/KesPanelDescription.h"

#include <memory>
#include <string>
#include <vector>

class KesMfgAttLink;

class KesPanelBuilder {
public:
    KesPanelBuilder() = default;
    KesPanelBuilder(const KesPanelBuilder&) = delete;
    KesPanelBuilder& operator=(const KesPanelBuilder&) = delete;

    // Checks `description` as a panel alone (KesPanelReview::Strict: every bound parameter
    // among its model parameters; none of them may exist in the model yet), then builds it
    // into `frame`, which owns the attributes. Returns "" when
    // built; otherwise the fault, and nothing is built and the model is unchanged. The builder
    // keeps the title lists the boolean classes hold a pointer to: keep it alive as long as
    // the panel.
    std::string Build(const KesPanelDescription& description, KesDlgFrame& frame);

    // Checks `description` against the model as it stands (KesPanelReview::OverModel), then
    // builds it into `frame`. A bound parameter the model holds is taken, its value shown when
    // the attribute gives none; one the model lacks must be among the description's model
    // parameters. Those model parameters are created only where the model lacks them; one the
    // model holds is kept as the model has it. What the attribute would not offer, or a
    // parameter the model describes otherwise, is a warning (Warnings), not a fault. Returns
    // "" when built; otherwise the fault and nothing is built (the model is unchanged, unless
    // the model itself refused a parameter: those created before it stay).
    std::string BuildOverModel(const KesPanelDescription& description, KesDlgFrame& frame);

    // The warnings of the last build, one a line, as "warning: attribute 2 'Feed', key
    // 'parameterName': ..." (the words of a panel file's warnings, without the file's place).
    const std::vector<std::string>& Warnings() const { return warnings_; }

    // Hands the records of a link's sub-panel to the link, as the owner of the sub-dialog does
    // on its OK: GetAttValue of each sub-panel attribute, in order, then the link's
    // seven-argument SetAttValue, so that the records travel with the panel's values (Output
    // and GetAttValue of the link relay them). An attribute still to be defined gives no
    // record; a null attribute is skipped.
    static void HandRecordsToLink(const std::vector<KesMfgAttribute*>& subPanelAttributes,
                                  KesMfgAttLink& link);

    // Whether a press on a link that has a sub-panel is answered by the link's relays: yes by
    // default, for a session where nothing opens the sub-panel (the headless driver). A window
    // or host that opens sub-panels says no before building, so that a press hands the link
    // nothing until the sub-panel's OK (HandRecordsToLink), and a Cancel leaves its records as
    // they were. A link without a sub-panel is always answered by its relays.
    void SetRelaysAnswerSubPanelLinks(bool answer) { relaysAnswerSubPanelLinks_ = answer; }

    // The attributes built, in panel order.
    const std::vector<KesMfgAttribute*>& Attributes() const { return attributes_; }

private:
    // Builds a description whose checks passed; `parameters` are those bound attributes read
    // their values from (the model's where it holds them, else the description's).
    void BuildChecked(const KesPanelDescription& description, KesDlgFrame& frame,
                      const std::vector<KesPanelParameter>& parameters);

    std::vector<std::unique_ptr<KesListValKesUnicodeString>> titles_;
    std::vector<KesMfgAttribute*> attributes_;
    std::vector<std::string> warnings_;
    bool relaysAnswerSubPanelLinks_ = true;
};
