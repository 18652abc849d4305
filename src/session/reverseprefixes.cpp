#include "session/reverseprefixes.h"

#include "checks/reversename.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kReverse = QStringLiteral("Reverse Mapping");

QString valueName(const AppState& state)
{
    return QStringLiteral("Prefixes of ") + state.servername + QLatin1Char('@') + state.zoneLists.firstzone;
}

} // namespace

QList<IpPrefix> reversePrefixes(const SettingsStore& store, const AppState& state)
{
    // A value someone edited into something unreadable chooses nothing rather than stopping every run.
    return parseReversePrefixes(store.text(kReverse, valueName(state)), nullptr).value_or(QList<IpPrefix>());
}

bool setReversePrefixes(SettingsStore& store, const AppState& state, const QList<IpPrefix>& prefixes,
                        QString* errorText)
{
    store.setText(kReverse, valueName(state), reversePrefixesText(prefixes));
    return store.sync(errorText);
}

std::optional<QList<IpPrefix>> parseReversePrefixes(const QString& text, QString* why)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    QList<IpPrefix> prefixes;
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts)) {
        const std::optional<IpPrefix> prefix = IpPrefix::parse(word, why);
        if (!prefix)
            return std::nullopt;
        if (const std::optional<QString> refusal = reverseZoneRefusal(*prefix)) {
            if (why)
                *why = *refusal;
            return std::nullopt;
        }
        if (!prefixes.contains(*prefix))
            prefixes << *prefix;
    }
    return prefixes;
}

QString reversePrefixesText(const QList<IpPrefix>& prefixes)
{
    QStringList words;
    for (const IpPrefix& prefix : prefixes)
        words << prefix.text();
    return words.join(QLatin1Char(' '));
}
