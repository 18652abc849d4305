#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

struct ConfStatement;

// A BIND 9 configuration as BIND itself reads it: the text `named-checkconf -p` prints, with every include resolved
// and every comment gone. What the program does with a server described by a named.conf starts from here.

// The kinds of zone BIND knows; each has a synonym or two in the files.
enum class ConfZoneKind
{
    Primary,   // "primary", "master"
    Secondary, // "secondary", "slave"
    Hint,
    Stub,
    Forward,
    StaticStub,
    Redirect,
    Mirror,
    InView, // a zone of another view, shared ("in-view")
    Other,
};

struct ConfZone
{
    QString name;      // as written, a trailing dot removed ("." stays)
    QString view;      // empty outside views
    QString className; // as written; empty when the statement names none
    QString type;      // as written: "master", "primary", ...
    ConfZoneKind kind = ConfZoneKind::Other;
    QString file;          // as written; relative names are taken against the directory option
    QStringList primaries; // the elements of "primaries" / "masters", as written
    QString inView;        // the view an in-view zone belongs to
    bool updates = false;  // "allow-update" or "update-policy": BIND changes the zone itself
    bool inlineSigning = false;
    QString dnssecPolicy; // empty when none
    bool catalog = false; // a catalog zone (named in catalog-zones)

    // The zone's key: its name in lower case without the trailing dot, and its view.
    QString key() const;
    static QString keyOf(const QString& view, const QString& name);
};

// One value of the options block as the page shows it: its name and its text as BIND prints it.
struct ConfOption
{
    QString name;
    QString value;
};

struct ConfControl
{
    bool present = false;  // a controls statement was given
    bool disabled = false; // "controls { };": no control channel at all
    QString address = QStringLiteral("127.0.0.1");
    int port = 953;
    QStringList keys;
};

struct ConfKey
{
    QString name;
    QString algorithm;
    QString secret;
};

struct NamedConfig
{
    QString directory; // the options' directory; empty when none is set
    QStringList views; // in their order
    QList<ConfZone> zones;
    QList<ConfOption> options;
    ConfControl control;
    QList<ConfKey> keys;

    // The zone of the key; null when there is none.
    const ConfZone* zone(const QString& key) const;
    // The file of a zone as named reads it: a relative name taken against the directory option, which itself is
    // taken against `workingDirectory` when it is relative.
    QString zonePath(const ConfZone& zone, const QString& workingDirectory) const;
    const ConfKey* key(const QString& name) const;
};

ConfZoneKind zoneKindOf(const QString& type);
bool isPrimaryType(const QString& type);

// The configuration of the text named-checkconf -p prints; false with the reason when it cannot be taken apart.
bool readPrintedConfig(const QString& printed, NamedConfig& config, QString* errorText);

// The statements and text of a file an include statement names (as written in it); none when it cannot be read.
using IncludedFile = std::function<std::optional<std::pair<QList<ConfStatement>, QString>>(const QString& includePath)>;

// The configuration read straight from the administrator's files, following their includes: what can be known of a
// configuration that BIND's own parser refuses.
NamedConfig configOfFiles(const QList<ConfStatement>& top, const QString& topText, const IncludedFile& included);
