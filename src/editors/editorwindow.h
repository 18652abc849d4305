#pragma once

#include "editors/editresult.h"

#include <QDialog>

struct EditorHooks;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// What every zone editor window shares: a tool window on top of the others, centred on the screen, with a
// heading, its fields and the buttons "Save" (the default), "Delete" and "Cancel". While it is shown the main
// window is disabled; hiding it re-enables the main window and empties the fields.
class EditorWindow : public QDialog
{
    Q_OBJECT
public:
    EditorWindow(EditorHooks& hooks, const QString& caption, const QString& headingText);

    QLabel* heading;
    QPushButton* saveit;
    QPushButton* deleteit;
    QPushButton* cancelit;

protected:
    QLineEdit* addField(const QString& objectName, const QString& label, const QString& hint);
    // Shows the window for a record at the edit index (-1: a new one, with empty fields).
    void showFor(int editIndex);
    // After Save: the tree follows a stored record and the window hides; a refusal leaves it open.
    void finishSave(const EditResult& result, bool adding);
    // After Delete: the clicked node goes when the record went.
    void finishDelete(const EditResult& result, bool removeNode);
    // Runs a zone change with the hourglass shown.
    EditResult withWaitCursor(const std::function<EditResult()>& change);
    ZoneContext zoneContext() const;

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    EditorHooks& m_hooks;

private:
    void centre();

    QFormLayout* m_form;
    QList<QLineEdit*> m_fields;
};
