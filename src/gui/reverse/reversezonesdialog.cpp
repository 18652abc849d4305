#include "gui/reverse/reversezonesdialog.h"

#include "platform/prompter.h"
#include "session/appstate.h"
#include "session/reverseprefixes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReverseZonesDialog::ReverseZonesDialog(AppState& state, SettingsStore& store, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_state(state), m_store(store), m_prompter(prompter)
{
    setObjectName(QStringLiteral("ReverseZonesDialog"));
    setWindowTitle(QStringLiteral("Reverse Zones"));
    setModal(true);
    explanation = new QLabel(
        QStringLiteral("Reverse Mapping makes one zone for each /24 network and each IPv6 /64 that holds hosts. "
                       "Enter other prefixes to serve, one a line: IPv4 /8, /16 or blocks longer than /24 "
                       "(192.0.2.64/26), IPv6 prefixes whose length is a multiple of 4 (2001:db8::/48). An "
                       "address goes to the longest prefix that holds it."),
        this);
    explanation->setObjectName(QStringLiteral("explanation"));
    explanation->setWordWrap(true);
    prefixes = new QPlainTextEdit(this);
    prefixes->setObjectName(QStringLiteral("prefixes"));
    prefixes->setTabChangesFocus(true);
    explanation->setBuddy(prefixes);
    saveit = new QPushButton(QStringLiteral("Save"), this);
    saveit->setObjectName(QStringLiteral("saveit"));
    saveit->setDefault(true);
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(prefixes, 1);
    layout->addLayout(buttons);
    connect(saveit, &QPushButton::clicked, this, &ReverseZonesDialog::saveitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

int ReverseZonesDialog::openForServer()
{
    QStringList lines;
    for (const IpPrefix& prefix : reversePrefixes(m_store, m_state))
        lines << prefix.text();
    prefixes->setPlainText(lines.join(QLatin1Char('\n')));
    prefixes->setFocus(Qt::OtherFocusReason);
    return exec();
}

void ReverseZonesDialog::saveitClick()
{
    QString why;
    const std::optional<QList<IpPrefix>> parsed = parseReversePrefixes(prefixes->toPlainText(), &why);
    if (!parsed) {
        m_prompter.message(QStringLiteral("Re-Enter."), why);
        return;
    }
    QString error;
    if (!setReversePrefixes(m_store, m_state, *parsed, &error)) {
        m_prompter.message(QStringLiteral("Error"), error, Prompter::Button::Ok, Prompter::Icon::Critical);
        return;
    }
    accept();
}
