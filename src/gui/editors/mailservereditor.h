#pragma once

#include "gui/editors/editorwindow.h"

class QLineEdit;

// The mail server editor.
class MailServerEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit MailServerEditor(EditorHooks& hooks);

    QLineEdit* second;
    QLineEdit* value;

    // Opens the editor on the record at the edit index (-1: a new record).
    void open(int editIndex);
    void saveitClick();
    void deleteitClick();
};
