#pragma once

#include "gui/editors/editorwindow.h"

class QLineEdit;

// The host editor.
class HostEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit HostEditor(EditorHooks& hooks);

    QLineEdit* first;
    QLineEdit* second;
    // One-shot: set when the browser runs Delete with the editor hidden and the clicked node is to go too.
    bool removeNodeWhileHidden = false;

    // Opens the editor on the record at the edit index (-1: a new record).
    void open(int editIndex);
    // Loads the record at the edit index without showing the editor, for a Delete the browser runs.
    void load(int editIndex);
    void saveitClick();
    void deleteitClick();
};
