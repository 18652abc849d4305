#pragma once

#include <QDialog>
#include <optional>

class Prompter;
class QLabel;
class QListWidget;
class QPushButton;

// What the two host pickers share: a list of the zone's host names, "Select" and "Cancel". "Select" without
// a selection says so and keeps the picker open.
class HostPicker : public QDialog
{
    Q_OBJECT
public:
    HostPicker(Prompter& prompter, const QString& caption, const QString& headingText);

    QLabel* heading;
    QListWidget* hostlist;
    QPushButton* selectit;
    QPushButton* cancelit;

    // Shows the picker modally over the hosts; the position of the host chosen, none when cancelled.
    std::optional<int> choose(const QStringList& hosts);
    void selectitClick();

private:
    Prompter& m_prompter;
};
