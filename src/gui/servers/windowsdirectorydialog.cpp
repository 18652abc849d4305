#include "gui/servers/windowsdirectorydialog.h"

#include "server/newserversteps.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

WindowsDirectoryDialog::WindowsDirectoryDialog(const QString& text, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("WindowsDirectoryDialog"));
    setWindowTitle(QStringLiteral("Specify Your Windows Dir."));
    setModal(true);

    windowstext = new QLabel(text, this);
    windowstext->setObjectName(QStringLiteral("windowstext"));
    windowstext->setWordWrap(true);
    networkpath = new QLineEdit(this);
    networkpath->setObjectName(QStringLiteral("networkpath"));
    importit = new QPushButton(QStringLiteral("Import!"), this);
    importit->setObjectName(QStringLiteral("importit"));
    importit->setDefault(true);
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(importit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(windowstext);
    layout->addWidget(networkpath);
    layout->addLayout(buttons);

    connect(importit, &QPushButton::clicked, this, &WindowsDirectoryDialog::importitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

QString WindowsDirectoryDialog::directory() const
{
    return QDir::cleanPath(QFileInfo(networkpath->text()).absoluteFilePath());
}

void WindowsDirectoryDialog::importitClick()
{
    if (checkSpecifiedWindowsDirectory(networkpath->text(), m_prompter))
        accept();
}
