#include "server/confwrite.h"

#include "namedconf/conffiles.h"
#include "platform/filereplacement.h"
#include "server/confcheck.h"

#include <QFileInfo>

ConfWriteResult writeCheckedConf(const ConfFileSet& files, const QMap<QString, QString>& changed)
{
    if (changed.isEmpty())
        return {};
    const ConfCheck check = checkWithChanges(files, changed);
    if (!check.passed)
        return {false,
                QStringLiteral("BIND refuses the changed configuration, so nothing was written: ") + check.problem};
    for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
        FileReplacement file(it.key());
        // The name server reads its configuration after giving up root.
        if (!files.file(it.key()))
            file.setMode(0644);
        if (file.open())
            file.write(it.value().toLatin1());
        if (const FileWriteResult written = file.commit(); !written.ok)
            return {false, QStringLiteral("The configuration file ") + written.errorText};
    }
    return {};
}
