#pragma once

#include "utilities/linequerytool.h"

// The "Finger" tab's logic: one query line to a host's finger service and every line of its answer.
class FingerTool : public LineQueryTool
{
    Q_OBJECT
public:
    static constexpr quint16 fingerPort = 79;

    explicit FingerTool(Prompter& prompter, QObject* parent = nullptr);

    void find(const QString& input) override;

private:
    void onConnected(int status, const QString& description);
};
