#include "gui/zonebrowser/zonefileview.h"

#include "gui/operations/datafileviewer.h"
#include "platform/prompter.h"
#include "zone/serverzonelists.h"
#include "zone/zonefileio.h"
#include "zonebrowser/zonetree.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

void showZoneFile(const ServerZoneLists& lists, const QString& zone, Prompter& prompter, QWidget* parent)
{
    const int index = findZoneIndex(lists.primdns, zone);
    if (index < 0 || index >= lists.primfiles.size()) {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("You must first select a Zone."));
        return;
    }
    QFile file(zoneFilePath(lists.datapath, lists.primfiles.at(index)));
    if (!file.open(QIODevice::ReadOnly)) {
        prompter.message(QStringLiteral("Error"),
                         QStringLiteral("The zone file %1 could not be read: %2")
                             .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()),
                         Prompter::Button::Ok, Prompter::Icon::Critical);
        return;
    }
    DatafileViewer viewer(parent);
    viewer.setObjectName(QStringLiteral("ZoneFileViewer"));
    viewer.setWindowTitle(zone + QStringLiteral(" - ") + QDir::toNativeSeparators(file.fileName()));
    viewer.datatext->setPlainText(QString::fromLatin1(file.readAll()));
    viewer.exec();
}
