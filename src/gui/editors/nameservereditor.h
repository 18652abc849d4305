#pragma once

#include "gui/editors/editorwindow.h"

class QLineEdit;

// The name server editor.
class NameServerEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit NameServerEditor(EditorHooks& hooks);

    QLineEdit* second;

    // Opens the editor on the record at the edit index (-1: a new record).
    void open(int editIndex);
    void saveitClick();
    void deleteitClick();
};
