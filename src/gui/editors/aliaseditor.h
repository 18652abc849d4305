#pragma once

#include "gui/editors/editorwindow.h"

class QLineEdit;

// The alias editor.
class AliasEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit AliasEditor(EditorHooks& hooks);

    QLineEdit* first;
    QLineEdit* second;

    // Opens the editor on the record at the edit index (-1: a new record).
    void open(int editIndex);
    void saveitClick();
    void deleteitClick();
};
