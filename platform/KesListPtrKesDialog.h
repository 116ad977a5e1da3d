// List of widget pointers, indexed from 1. It never owns the widgets.
#pragma once

#include "platform/KesRawColl.h"

class KesDialog;

class KesListPtrKesDialog : public KesRawColl<KesDialog*> {
public:
    using KesRawColl<KesDialog*>::KesRawColl;
};
