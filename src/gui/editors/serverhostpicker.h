#pragma once

#include "gui/editors/hostpicker.h"

// The host picker of the name and mail server editors. The caller sets the caption ("Select host for name
// server..." or "Select host for mail server..."), which replaces the heading when it is shown.
class ServerHostPicker : public HostPicker
{
    Q_OBJECT
public:
    explicit ServerHostPicker(Prompter& prompter);

protected:
    void showEvent(QShowEvent* event) override;
};
