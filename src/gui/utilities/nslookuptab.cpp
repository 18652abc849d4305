#include "gui/utilities/nslookuptab.h"

#include "gui/utilities/responseview.h"
#include "platform/platform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

NsLookupTab::NsLookupTab(Prompter& prompter, Platform& platform, QWidget* parent)
    : QWidget(parent), m_lookup(prompter, platform.appDataPath(), NsLookup::defaultInterpreter(platform)),
      m_server(new QLineEdit(this)), m_domain(new QLineEdit(this)), m_type(new QComboBox(this)),
      m_timeout(new QLineEdit(QStringLiteral("15"), this)), m_timeoutLabel(new QLabel(NsLookup::idleLabel(), this)),
      m_result(new QPlainTextEdit(this)), m_lookupButton(new QPushButton(QStringLiteral("Lookup"), this))
{
    setObjectName(QStringLiteral("nslookuptab"));
    m_server->setObjectName(QStringLiteral("nameserver"));
    m_domain->setObjectName(QStringLiteral("domain"));
    m_type->setObjectName(QStringLiteral("lookuptype"));
    m_timeout->setObjectName(QStringLiteral("timeout"));
    m_timeoutLabel->setObjectName(QStringLiteral("timeoutlabel"));
    m_result->setObjectName(QStringLiteral("lookupresult"));
    m_lookupButton->setObjectName(QStringLiteral("lookupbutton"));

    m_type->setEditable(true);
    m_type->addItems(recordTypes());
    m_type->setCurrentText(QStringLiteral("ANY - All records"));
    makeResultArea(m_result, false);

    auto* serverLabel = new QLabel(QStringLiteral("Name Server"), this);
    serverLabel->setBuddy(m_server);
    auto* domainLabel = new QLabel(QStringLiteral("Domain"), this);
    domainLabel->setBuddy(m_domain);
    auto* typeLabel = new QLabel(QStringLiteral("Type of Lookup to perform"), this);
    typeLabel->setBuddy(m_type);
    m_timeoutLabel->setBuddy(m_timeout);

    auto* layout = new QGridLayout(this);
    layout->addWidget(serverLabel, 0, 0);
    layout->addWidget(m_server, 0, 1);
    layout->addWidget(domainLabel, 1, 0);
    layout->addWidget(m_domain, 1, 1);
    layout->addWidget(typeLabel, 2, 0);
    layout->addWidget(m_type, 2, 1);
    layout->addWidget(m_timeoutLabel, 3, 0);
    layout->addWidget(m_timeout, 3, 1);
    layout->addWidget(m_lookupButton, 3, 2);
    layout->addWidget(m_result, 4, 0, 1, 3);

    connect(&m_lookup, &NsLookup::labelChanged, m_timeoutLabel, &QLabel::setText);
    connect(&m_lookup, &NsLookup::resultChanged, m_result, &QPlainTextEdit::setPlainText);
    connect(m_lookupButton, &QPushButton::clicked, this, &NsLookupTab::lookupClick);
}

QStringList NsLookupTab::recordTypes()
{
    return {QStringLiteral("A - Host Addresses"),
            QStringLiteral("ANY - All records"),
            QStringLiteral("CNAME - Canonical Name for an Alias"),
            QStringLiteral("HINFO - Host Information"),
            QStringLiteral("MX - Mail Exchange"),
            QStringLiteral("NS - Authoritative Domain Server"),
            QStringLiteral("PTR - Domain Name Pointer"),
            QStringLiteral("SOA - Start of Authority"),
            QStringLiteral("TXT - Text Strings"),
            QStringLiteral("WKS - Well Known Services")};
}

void NsLookupTab::lookupClick()
{
    m_lookup.lookup(m_server->text(), m_domain->text(), m_type->currentText(), m_timeout->text());
}
