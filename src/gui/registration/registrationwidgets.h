#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Small builders shared by the registration forms; every control gets its name as objectName.
QLineEdit* newField(QWidget* parent, const QString& name, int maxLength = 0);
// A list to choose from; starts with nothing chosen.
QComboBox* newChoiceList(QWidget* parent, const QString& name, const QStringList& items);
// An editable drop-down list of known names; typing never adds to it.
QComboBox* newNameList(QWidget* parent, const QString& name);
QRadioButton* newRadio(QWidget* parent, const QString& name, const QString& caption);
QPushButton* newButton(QWidget* parent, const QString& name, const QString& caption);

// Enables a field, or disables it and shows it grey.
void setFieldUsable(QWidget* field, bool usable);

// Chooses the entry of a list that reads `text`; nothing chosen when none does.
void setChoice(QComboBox* list, const QString& text);

// Replaces the entries of a name list, keeping the name typed into it and without telling anyone.
void setNames(QComboBox* list, const QStringList& names);
