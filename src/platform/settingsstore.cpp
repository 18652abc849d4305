#include "platform/settingsstore.h"

namespace {

QString key(const QString& section, const QString& name)
{
    return section + QLatin1Char('/') + name;
}

} // namespace

SettingsStore::SettingsStore() : m_settings(std::make_unique<QSettings>(QStringLiteral("Mervale"), QStringLiteral("Quorvane")))
{
}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

QString SettingsStore::text(const QString& section, const QString& name, const QString& fallback) const
{
    const QVariant value = m_settings->value(key(section, name));
    if (!value.isValid())
        return fallback;
    // A value edited by hand with an unquoted comma reads as a list; it is one text all the same.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

int SettingsStore::integer(const QString& section, const QString& name) const
{
    bool ok = false;
    const int number = text(section, name).trimmed().toInt(&ok);
    return ok ? number : 0;
}

bool SettingsStore::contains(const QString& section, const QString& name) const
{
    return m_settings->contains(key(section, name));
}

QStringList SettingsStore::valueNames(const QString& section) const
{
    m_settings->beginGroup(section);
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

void SettingsStore::setText(const QString& section, const QString& name, const QString& value)
{
    m_settings->setValue(key(section, name), value);
}

void SettingsStore::setInteger(const QString& section, const QString& name, int value)
{
    setText(section, name, QString::number(value));
}

bool SettingsStore::sync(QString* errorText)
{
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return true;
    if (errorText) {
        *errorText = m_settings->status() == QSettings::AccessError
                         ? QStringLiteral("The settings file %1 could not be written.").arg(m_settings->fileName())
                         : QStringLiteral("The settings file %1 is damaged.").arg(m_settings->fileName());
    }
    return false;
}
