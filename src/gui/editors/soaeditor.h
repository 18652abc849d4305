#pragma once

#include "gui/editors/editorwindow.h"

#include <array>

class QLabel;
class QLineEdit;

// The SOA editor: one value of the loaded zone's start of authority at a time.
class SoaEditor : public EditorWindow
{
    Q_OBJECT
public:
    explicit SoaEditor(EditorHooks& hooks);

    QLabel* textdisp;
    QLineEdit* soa;
    QLineEdit* source2;
    QLineEdit* user;
    QLineEdit* serial;
    QLineEdit* refresh;
    QLineEdit* retry;
    QLineEdit* expire;
    QLineEdit* minimum;

    // Shows the editor with the field of that name ("User", "Serial", ...) the one to edit.
    void openSoaEditor(const QString& fieldName);
    void saveitClick();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    std::array<QLineEdit*, 8> allFields() const;
};
