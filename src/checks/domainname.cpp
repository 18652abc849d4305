#include "checks/domainname.h"

#include <QList>
#include <QStringView>

namespace {

constexpr qsizetype kLongestLabel = 63;
constexpr qsizetype kLongestName = 253;

bool isLabelCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' || u == u'_';
}

bool isLabel(QStringView label)
{
    if (label.isEmpty() || label.size() > kLongestLabel || label.front() == QLatin1Char('-'))
        return false;
    for (const QChar c : label) {
        if (!isLabelCharacter(c))
            return false;
    }
    return true;
}

} // namespace

bool isDomainName(const QString& text)
{
    if (text == QLatin1String("."))
        return true;
    QStringView name(text);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (name.isEmpty() || name.size() > kLongestName)
        return false;
    for (const QStringView label : name.split(QLatin1Char('.'))) {
        if (!isLabel(label))
            return false;
    }
    return true;
}

std::optional<QString> zoneNameLengthRefusal(const QString& name)
{
    QString text = name.trimmed();
    if (text.size() > 1 && text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text.isEmpty() || text == QLatin1String("."))
        return std::nullopt;
    qsizetype wire = 1; // the root label's length byte
    for (const QStringView label : QStringView(text).split(QLatin1Char('.'))) {
        if (label.isEmpty())
            return QStringLiteral("The zone name %1 has an empty label: two dots follow each other.").arg(name);
        if (label.toLatin1().size() > 63)
            return QStringLiteral("The zone name %1 has a label longer than 63 characters (%2...).")
                .arg(name, label.left(20).toString());
        wire += 1 + label.toLatin1().size();
    }
    if (wire > 255)
        return QStringLiteral("The zone name %1 is longer than the 255 bytes a name may have.").arg(name);
    return std::nullopt;
}
