#include "servers/twindowsdir.h"

#include "servers/newserverwizard.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Twindowsdir::Twindowsdir(const QString& text, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("Twindowsdir"));
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

    connect(importit, &QPushButton::clicked, this, &Twindowsdir::importitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

QString Twindowsdir::directory() const
{
    return QDir::cleanPath(QFileInfo(networkpath->text()).absoluteFilePath());
}

void Twindowsdir::importitClick()
{
    if (checkSpecifiedWindowsDirectory(networkpath->text(), m_prompter))
        accept();
}
