#include "namedconf/confserver.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>

QString ConfServer::zonesFileOf(const QString& view) const
{
    if (view.isEmpty())
        return zonesFile;
    const QFileInfo file(zonesFile);
    QString safe = view;
    // A view's name may hold characters no file name should.
    for (QChar& c : safe) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return file.absoluteDir().filePath(file.completeBaseName() + QLatin1Char('-') + safe + QStringLiteral(".conf"));
}

bool ConfServer::ownsZone(const QString& key) const
{
    const ConfPlace* place = files.zonePlace(key);
    if (!place)
        return false;
    const QString view = key.section(QLatin1Char('/'), 0, 0);
    return place->file == zonesFileOf(view) || place->file == zonesFile;
}

QStringList ConfServer::optionLines() const
{
    QStringList lines;
    const ConfPlace* place = files.optionsPlace();
    const ConfFile* file = place ? files.file(place->file) : nullptr;
    const QList<ConfStatement>* block = nullptr;
    if (file) {
        for (const ConfStatement& statement : file->parse.statements) {
            if (statement.begin == place->begin)
                block = statement.block();
        }
    }
    for (const ConfOption& option : config.options) {
        QString where;
        for (const ConfStatement& statement : block ? *block : QList<ConfStatement>()) {
            if (statement.keyword() == option.name) {
                where = QStringLiteral("  (%1 line %2)").arg(QDir::toNativeSeparators(file->path)).arg(statement.line);
                break;
            }
        }
        lines << option.name + QLatin1Char(' ') + option.value + QLatin1Char(';') + where;
    }
    if (lines.isEmpty())
        lines << QStringLiteral("(BIND's defaults: the configuration sets none of these options.)");
    return lines;
}

std::pair<QString, int> ConfServer::queryTarget() const
{
    std::pair<QString, int> target{QStringLiteral("127.0.0.1"), 53};
    for (const ConfOption& option : config.options) {
        if (option.name != QLatin1String("listen-on"))
            continue;
        const QString value = option.value;
        const qsizetype brace = value.indexOf(QLatin1Char('{'));
        const QStringList words =
            value.left(brace < 0 ? value.size() : brace).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const qsizetype portAt = words.indexOf(QStringLiteral("port"));
        bool ok = false;
        const int port = portAt >= 0 ? words.value(portAt + 1).toInt(&ok) : 0;
        if (ok && port > 0 && port < 65536)
            target.second = port;
        if (brace >= 0) {
            const QString first = value.mid(brace + 1).section(QLatin1Char(';'), 0, 0).trimmed();
            const QHostAddress address(first);
            if (address.protocol() == QAbstractSocket::IPv4Protocol && address != QHostAddress(QHostAddress::AnyIPv4))
                target.first = address.toString();
        }
        break;
    }
    return target;
}
