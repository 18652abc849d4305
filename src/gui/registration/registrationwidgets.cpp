#include "gui/registration/registrationwidgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

QLineEdit* newField(QWidget* parent, const QString& name, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    return field;
}

QComboBox* newChoiceList(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    list->setCurrentIndex(-1);
    return list;
}

QComboBox* newNameList(QWidget* parent, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setDuplicatesEnabled(false);
    return list;
}

QRadioButton* newRadio(QWidget* parent, const QString& name, const QString& caption)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

QPushButton* newButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

void setFieldUsable(QWidget* field, bool usable)
{
    field->setEnabled(usable);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xc0, 0xc0, 0xc0));
    field->setPalette(palette);
}

void setChoice(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void setNames(QComboBox* list, const QStringList& names)
{
    const QSignalBlocker blocker(list);
    const QString typed = list->currentText();
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(-1);
    list->setEditText(typed);
}
