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
