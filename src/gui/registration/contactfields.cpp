#include "gui/registration/contactfields.h"

#include "gui/registration/registrationwidgets.h"

#include <QFormLayout>
#include <QLineEdit>

namespace {

constexpr int kCountryIndex = 8;

} // namespace

ContactFields::ContactFields(const QStringList& names, int countryLength, QWidget* parent) : QWidget(parent)
{
    const QStringList labels = {QStringLiteral("NIC Handle (if known)"),
                                QStringLiteral("(I)ndividual (R)ole"),
                                QStringLiteral("Name"),
                                QStringLiteral("Organization Name"),
                                QStringLiteral("Street Address"),
                                QStringLiteral("City"),
                                QStringLiteral("State"),
                                QStringLiteral("Postal Code"),
                                QStringLiteral("Country Code"),
                                QStringLiteral("Phone Number"),
                                QStringLiteral("Fax Number"),
                                QStringLiteral("E-Mailbox")};
    auto* layout = new QFormLayout(this);
    for (int i = 0; i < labels.size(); ++i) {
        if (names.value(i).isEmpty()) {
            m_fields << nullptr;
            continue;
        }
        QLineEdit* edit = newField(this, names.at(i), i == kCountryIndex ? countryLength : 0);
        layout->addRow(labels.at(i), edit);
        m_fields << edit;
    }
}

RegistrationContact ContactFields::contact() const
{
    RegistrationContact result;
    const QList<QString*> values = result.fields();
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i))
            *values.at(i) = m_fields.at(i)->text();
    }
    return result;
}

void ContactFields::setContact(const RegistrationContact& contact)
{
    const QStringList values = contact.values();
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i))
            m_fields.at(i)->setText(values.at(i));
    }
}

void ContactFields::clear()
{
    setContact(RegistrationContact());
}
