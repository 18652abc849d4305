#include "gui/servers/wizardhelpwindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString WizardHelpWindow::captionOf(int page)
{
    switch (page) {
    case 2:
        return QStringLiteral("New Server Wizard - Page 2");
    case 3:
        return QStringLiteral("New Server Wizard - Page 3");
    default:
        return QStringLiteral("New Server Wizard Help");
    }
}

QString WizardHelpWindow::textOf(int page)
{
    switch (page) {
    case 2:
        return QStringLiteral(
            "The Windows directory is the folder that holds the name server's boot file, named.boot.\n\n"
            "Press \"Browse\" and choose that folder. It may lie on this computer or on a networked computer that "
            "this computer reaches through a mapped drive or a mounted share. Quorvane creates the folders "
            "quorvane and quorvane/zones in it at once; the server's zone files will be kept in quorvane/zones.\n\n"
            "On a Windows NT 3.51 machine there is no folder browser: type the full path of the Windows directory, "
            "as a network path when it lies on another computer, into the field instead.\n\n"
            "If the folder already holds a named.boot, you are asked whether it may be replaced.");
    case 3:
        return QStringLiteral(
            "These values describe the start of authority of the server's zones: the serial number, the refresh, "
            "retry and expire times and the time to live, all in seconds, and the e-mail address of the server's "
            "administrator.\n\n"
            "The defaults suit almost every server and can stay as they are. The zones you create later take their "
            "values from the Setup page, where they can be changed at any time.\n\n"
            "Press \"Finish\" to create the server.");
    default:
        return QStringLiteral(
            "Server's Computer Name: the name of the computer that runs the name server, without its domain.\n\n"
            "Domain name: the domain the server belongs to, for example example.com. The server's full name is "
            "formed from the computer name and the domain.\n\n"
            "Server's Operating System: the operating system of the computer that runs the name server.\n\n"
            "Take Control: manages a name server that already runs on a networked computer. Its boot file and "
            "zone files stay where they are; you are asked for its Windows directory.\n\n"
            "Import Server: copies the boot file and zone files of a server on a networked computer into a new "
            "server in a Windows directory you choose, usually on this computer.\n\n"
            "Convert imported server files to secondary: with Import Server, the zones of the imported server "
            "become secondary zones that copy their data from that server; no zone files are copied, and you are "
            "asked for the address of the primary server.");
    }
}

WizardHelpWindow::WizardHelpWindow(int page, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WizardHelpWindow"));
    setWindowTitle(captionOf(page));
    setAttribute(Qt::WA_DeleteOnClose);

    helptext = new QPlainTextEdit(textOf(page), this);
    helptext->setObjectName(QStringLiteral("helptext"));
    helptext->setReadOnly(true);
    closeit = new QPushButton(QStringLiteral("Close"), this);
    closeit->setDefault(true);
    closeit->setObjectName(QStringLiteral("closeit"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helptext, 1);
    layout->addWidget(closeit, 0, Qt::AlignRight);
    connect(closeit, &QPushButton::clicked, this, &QDialog::close);
    resize(460, 360);
}
