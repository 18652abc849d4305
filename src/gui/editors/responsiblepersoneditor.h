#pragma once

#include "gui/editors/editorwindow.h"

class QLineEdit;

// The responsible person editor: a person's RP record and its TXT record, kept at one position.
class ResponsiblePersonEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit ResponsiblePersonEditor(EditorHooks& hooks);

    QLineEdit* first;
    QLineEdit* second;
    QLineEdit* third;

    // Opens the editor on the record at the edit index (-1: a new record).
    void open(int editIndex);
    void saveitClick();
    void deleteitClick();
};
