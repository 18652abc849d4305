#include "zonefixture.h"

#include "support/testfiles.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QFile>
#include <QTest>

ZoneFixture::ZoneFixture()
{
    state.zoneLists.datapath = dir.path();
    state.setup.runningSerial = QStringLiteral("2026120701");
}

QString ZoneFixture::copyIn(const QString& dataName, const QString& asName)
{
    const QString target = pathOf(asName.isEmpty() ? dataName : asName);
    QFile::remove(target);
    if (!QFile::copy(testDataPath(QStringLiteral("zone/") + dataName), target))
        qWarning("could not copy %s", qPrintable(dataName));
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

QString ZoneFixture::pathOf(const QString& fileName) const
{
    return QDir(dir.path()).filePath(fileName);
}

void ZoneFixture::select(const QString& fileName, const QString& zoneName)
{
    state.selection.primfilename = fileName;
    state.selection.primdnsname = zoneName;
}

void ZoneFixture::expectMessagesOf(const QString& dataName)
{
    const QString path = testDataPath(QStringLiteral("zone/") + dataName);
    if (!QFile::exists(path))
        return;
    const QStringList lines = splitTextLines(readBytes(path));
    for (qsizetype at = 0; at + 1 < lines.size(); at += 2)
        prompter.expectMessage(lines.at(at), lines.at(at + 1));
}
