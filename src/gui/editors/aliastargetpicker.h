#pragma once

#include "gui/editors/hostpicker.h"

// The alias editor's host picker: the chosen host becomes the name the alias points to.
class AliasTargetPicker : public HostPicker
{
    Q_OBJECT
public:
    explicit AliasTargetPicker(Prompter& prompter);
};
