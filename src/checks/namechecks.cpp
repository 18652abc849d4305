#include "checks/namechecks.h"

bool hasIllegalCharacters(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("@"))
        return false;
    static const QString forbidden = QStringLiteral(" !\"#$%&()*+,/:;<=>?@[\\]^`{|}~");
    for (const QChar c : text) {
        if (forbidden.contains(c))
            return true;
    }
    return false;
}
