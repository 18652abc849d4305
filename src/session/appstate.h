#pragma once

#include "bootfile/bootconfig.h"
#include "checks/tldlist.h"
#include "namedconf/confserver.h"
#include "platform/debuglog.h"
#include "session/bind9settings.h"
#include "session/registrationdefaults.h"
#include "session/servercatalog.h"
#include "zone/serverzonelists.h"
#include "zone/zonemodel.h"

#include <QString>
#include <QStringList>
#include <array>

// The "Setup" page's defaults for the zone wizards and the start of authority.
struct SetupDefaults
{
    std::array<QString, 5> defaultns;
    std::array<QString, 5> defaultmail;
    std::array<QString, 5> defaulthost;
    std::array<QString, 5> defaultalias;
    // The running serial: one counter for the whole run, set from the date when the settings are read;
    // every zone save writes it plus one. The "Starting S/N" field shows it.
    QString runningSerial;
    QString defaultrefresh;
    QString defaultretry;
    QString defaultexpire;
    QString defaultminimum;
};

// Whether the user still wants to be asked, one remembered answer per editor of the "Domain Edit" page (the
// "don't ask again" box). The name servers' answer holds for every question that completes a name.
struct DomainEditDefaults
{
    bool askBeforeEachHost = true;
    bool askBeforeEachNameServer = true;
    bool askBeforeEachMailServer = true;
    bool askBeforeEachAliasName = true;
    bool askBeforeEachAliasTarget = true;
};

// The registration mail set-up of the "Setup" page.
struct MailSettings
{
    QString senderAddress;   // "Sender E-Mail:"
    QString senderName;      // "Sender Name:"
    QString smtpServer;      // "SMTP Server:"
    QString registryAddress; // "Mail Regs to:"
};

// The last start or stop a name server was given this run.
enum class RunState
{
    Unknown, // none yet
    Started,
    Stopped,
};

// What the program keeps for the whole run: the loaded server and zone, the lists of the registration pages,
// the settings and the values the pages share. Passed by reference to every operation that needs it.
struct AppState
{
    static QString notLoaded() { return QStringLiteral("Not Loaded"); }

    QString exepath;
    QString path;
    QString servername = notLoaded();
    QString bootFileName = notLoaded();
    QString vertext;
    QString version;
    QString firsttime;
    QString emailaddr;
    QString defaultos; // empty while nothing is chosen
    QString defaultsecondary;
    bool autoBackup = true;
    // The name server's control program, found on the search path unless it names a folder.
    QString ndcProgram = QStringLiteral("ndc");
    // How the loaded server is served with BIND 9.
    Bind9Settings bind9;
    // The registry's FTP server for the root hints.
    QString ftpHost = QStringLiteral("192.0.32.9");
    int ftpPort = 21;
    // The registry's WHOIS service that the "Who IS?" tab asks.
    QString whoisserver = defaultWhoisServer();
    static QString defaultWhoisServer() { return QStringLiteral("whois.iana.org"); }

    SetupDefaults setup;
    DomainEditDefaults domainDefaults;
    MailSettings mail;
    TldList tlds;
    ServerCatalog catalog;
    ServerZoneLists zoneLists;
    ZoneSelection selection;
    ZoneModel zone;
    RegistrationDefaults registration;
    // The names the registration pages offer, kept in domains.cbx, hosts.cbx and Contacts.cbx.
    QStringList domainNames;
    QStringList hostNames;
    QStringList contactNames;

    BootConfig boot;
    // The loaded server's named.conf, for a server that one describes rather than a boot file.
    ConfServer conf;
    // Set while a BIND 9 server is being taken over: the removal of options BIND no longer takes is offered then,
    // once, rather than at every load (where the refusal is told instead).
    bool offerObsoleteRemoval = false;
    QString pendingServerId;     // identifier of the server being loaded
    QString pendingBootFilePath; // its boot file path
    QString rootCacheText;       // the root cache text the "Addl Properties" page holds

    bool serverLoaded = false;
    RunState runState = RunState::Unknown;
    DebugLog debugLog;
};
