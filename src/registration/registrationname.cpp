#include "registration/registrationname.h"

#include <QFile>

namespace {

// Longest file name most file systems take, less the room for the extension.
constexpr int kMaxNameBytes = 255 - 4;

// Characters that file systems the registration folders may live on (shared drives among them) refuse.
const QString kRefusedCharacters = QStringLiteral("<>:\"|?*");

} // namespace

std::optional<QString> unsafeNameReason(const QString& name)
{
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("a path separator (\"/\" or \"\\\")");
    if (name.contains(QLatin1String("..")))
        return QStringLiteral("\"..\"");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
            return QStringLiteral("a control character");
        if (kRefusedCharacters.contains(c))
            return QStringLiteral("the character \"%1\", which file names may not hold").arg(c);
        if (c.unicode() > 0xff)
            return QStringLiteral("the character \"%1\", which the name lists cannot store").arg(c);
    }
    if (QFile::encodeName(name).size() > kMaxNameBytes)
        return QStringLiteral("more characters than a file name can take");
    return std::nullopt;
}

QString unsafeNameMessage(const QString& name, const QString& reason)
{
    return QStringLiteral("The name \"%1\" cannot be used: it holds %2. The registration files are named after "
                          "it, so please enter the name without it.")
        .arg(name, reason);
}
