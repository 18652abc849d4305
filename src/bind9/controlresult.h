#pragma once

#include <QString>

// How a step of the control program ended: on failure, the one line that says why.
struct ControlResult
{
    bool ok = true;
    QString message;

    static ControlResult failed(const QString& message) { return ControlResult{false, message}; }
};
