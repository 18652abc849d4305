#pragma once

#include <QString>

// The fields of the "New Server Wizard" as its three pages hold them.
struct NewServerFields
{
    static QString notSelected() { return QStringLiteral("Not Selected"); }

    // Page 1.
    QString name;      // "Server's Computer Name"
    QString firstzone; // the server's domain; after "Next" the server's full name with a trailing "."
    QString defaultos; // "Server's Operating System"
    QString filename = QStringLiteral("named.boot");
    bool secondary = false; // "Convert imported server files to secondary"

    // Page 2.
    QString dirlabel;   // the server's Windows directory; "Not Selected" after a failed choice
    QString windowsdir; // the typed path of NT 3.x machines
    QString dfiles;     // the data directory: dirlabel + "/quorvane/zones"

    // Page 3: checked, then kept as the "Setup" page's defaults, which the new server's zones take.
    QString serial;
    QString refresh;
    QString retry;
    QString expire;
    QString minimum;
    QString emailaddr; // "Server Administrator's E-Mail Address :"
};
