#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// The per-user settings store: sections of named text values. Integers are kept as decimal text and read
// back as 0 when missing or not a number; a missing text reads as its default.
class SettingsStore
{
public:
    // The user's own store (an INI file under the configuration folder on Linux).
    SettingsStore();
    // A store in an explicit INI file.
    explicit SettingsStore(const QString& iniFile);

    QString text(const QString& section, const QString& name, const QString& fallback = QString()) const;
    int integer(const QString& section, const QString& name) const;
    bool contains(const QString& section, const QString& name) const;
    QStringList valueNames(const QString& section) const;

    void setText(const QString& section, const QString& name, const QString& value);
    void setInteger(const QString& section, const QString& name, int value);

    // Writes pending changes; false with the reason when the store cannot be written.
    bool sync(QString* errorText = nullptr);
    QString fileName() const { return m_settings->fileName(); }

private:
    std::unique_ptr<QSettings> m_settings;
};
