#pragma once

#include "bind9/bind9settings.h"
#include "bootfile/bootconfig.h"
#include "checks/tldlist.h"
#include "registration/registrationdefaults.h"
#include "servers/servercatalog.h"
#include "shell/debuglog.h"
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
    QString defaultserial;
    QString defaultrefresh;
    QString defaultretry;
    QString defaultexpire;
    QString defaultminimum;
};

// Five remembered answers by which the user chose not to be asked again ("YES" or empty).
struct DomainEditDefaults
{
    QString hostall;
    QString nameall;
    QString mailall;
    QString aliasnamall;
    QString aliasptall;
};

// The registration mail set-up of the "Setup" page.
struct MailSettings
{
    QString nicaddr;   // "Sender E-Mail:"
    QString nicname;   // "Sender Name:"
    QString nicserver; // "SMTP Server:"
    QString nicmailto; // "Mail Regs to:"
};

// What the program keeps for the whole run: the main window's run-time values, the hidden data forms'
// lists and the settings. Passed by reference to every operation that needs it.
struct AppState
{
    static QString notLoaded() { return QStringLiteral("Not Loaded"); }

    QString exepath;
    QString path;
    QString servername = notLoaded();
    QString inifile = notLoaded();
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
    QStringList domainNames;  // "domains.cbx"
    QStringList hostNames;    // "hosts.cbx"
    QStringList contactNames; // "Contacts.cbx"

    BootConfig boot;
    QString tobelname;     // identifier of the server being loaded
    QString tobeloaded;    // its boot file path
    QString rootCacheText; // the root cache text the "Addl Properties" page holds

    bool serverLoaded = false;
    // The last start ("START") or stop ("STOP") issued to a name server this run; empty before the first.
    QString serverRunState;
    DebugLog debugLog;
};
