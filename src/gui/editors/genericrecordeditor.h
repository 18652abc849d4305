#pragma once

#include "gui/common/guiprompter.h"
#include "session/zonecontext.h"

#include <QDialog>
#include <functional>

struct AppState;
class QComboBox;
class QLineEdit;
class QPushButton;

// The editor of the records the six lists do not hold: owner, time to live, type and data. It is modal over
// the window that opens it; its messages are its own children. The checks and the save are
// saveOtherRecord's.
class GenericRecordEditor : public QDialog
{
    Q_OBJECT
public:
    // contextFor gives the context a save runs with, around the prompter that is to show its messages.
    GenericRecordEditor(AppState& state, std::function<ZoneContext(Prompter&)> contextFor, QWidget* parent);

    QLineEdit* owner;
    QLineEdit* ttl;
    QComboBox* type;
    QLineEdit* data;
    QPushButton* saveit;
    QPushButton* deleteit;
    QPushButton* cancelit;

    // Shows the window for the other record at the position (-1: a new record, with empty fields and Delete
    // off) and returns at once.
    void openAt(int index);

Q_SIGNALS:
    // A record was stored and the zone saved: the node text, and whether the record is a new one.
    void saved(const QString& treeText, bool adding);
    void deleted();

private:
    void saveitClick();
    void deleteitClick();

    AppState& m_state;
    GuiPrompter m_prompter;
    std::function<ZoneContext(Prompter&)> m_contextFor;
    int m_index = -1;
};
