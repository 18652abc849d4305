#pragma once

#include "registration/registrationcontact.h"

#include <QList>
#include <QWidget>

class QLineEdit;

// The twelve fields of a registry contact in a column with their labels. A field given no name is not shown
// (the contact registration keeps the contact's name on another tab).
class ContactFields : public QWidget
{
    Q_OBJECT
public:
    ContactFields(const QStringList& names, int countryLength, QWidget* parent = nullptr);

    RegistrationContact contact() const;
    // Fields that are not shown keep what the contact had.
    void setContact(const RegistrationContact& contact);
    void clear();
    QLineEdit* field(int index) const { return m_fields.at(index); }

private:
    QList<QLineEdit*> m_fields; // null where a field is not shown
};
