// A label: a title or an icon, never input.
#pragma once

#include "platform/KesDialog.h"

class KesDlgLabel : public KesDialog {
public:
    KesDlgLabel(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::Label) {}
};
