// A context menu: the items a person reaches by the secondary click on the menu's parent.
#pragma once

#include "platform/KesDialog.h"

class KesDlgContextualMenu : public KesDialog {
public:
    KesDlgContextualMenu(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::ContextualMenu) {}
};
