#pragma once

#include "editors/editresult.h"

#include <QDialog>

struct EditorHooks;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// What every zone editor window shares: a dialog modal to the main window, with a heading, its fields and the
// buttons "Save" (the default, also Ctrl+S), "Delete" and "Cancel" (also Escape). It opens with the keyboard in
// its first field; hiding it empties the fields. What it asks belongs to it (the prompter finds it as the modal
// window).
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
    // Shows, raises and activates the window with the keyboard in the field.
    void present(QWidget* focusField);
    // After Save: the tree follows a stored record and the window hides; a refusal leaves it open.
    void finishSave(const EditResult& result, bool adding);
    // After Delete: the clicked node goes when the record went.
    void finishDelete(const EditResult& result, bool removeNode);
    // Runs a zone change with the hourglass shown.
    EditResult withWaitCursor(const std::function<EditResult()>& change);
    ZoneContext zoneContext() const;

    void hideEvent(QHideEvent* event) override;

    EditorHooks& m_hooks;

private:
    QFormLayout* m_form;
    QList<QLineEdit*> m_fields;
};
