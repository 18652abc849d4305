#include "gui/secondary/newsecondarydialog.h"

#include "session/appstate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QWidget* makePage(QWidget* parent, const QString& name, const QString& label, QLineEdit* field, QPushButton* first,
                  QPushButton* second)
{
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(first);
    buttons->addWidget(second);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(label, page));
    layout->addWidget(field);
    layout->addLayout(buttons);
    return page;
}

} // namespace

NewSecondaryDialog::NewSecondaryDialog(std::function<SecondaryContext()> context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context))
{
    setObjectName(QStringLiteral("NewSecondaryDialog"));
    setWindowTitle(QStringLiteral("Create a new Secondary Zone"));
    setModal(true);
    pages = new QStackedWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    zonename = new QLineEdit(this);
    zonename->setObjectName(QStringLiteral("zonename"));
    ipaddress = new QLineEdit(this);
    ipaddress->setObjectName(QStringLiteral("ipaddress"));
    ipaddress->setToolTip(
        QStringLiteral("This is the IP address of the server that serves PRIMARY DNS for this zone."));
    zonePageNext = makeButton(this, QStringLiteral("nextit"), QStringLiteral("Next"));
    zonePageCancel = makeButton(this, QStringLiteral("cancelone"), QStringLiteral("Cancel"));
    mastersPageDone = makeButton(this, QStringLiteral("doneit"), QStringLiteral("Done"));
    mastersPageCancel = makeButton(this, QStringLiteral("canceltwo"), QStringLiteral("Cancel"));
    pages->addWidget(makePage(pages, QStringLiteral("One"), QStringLiteral("Please Enter a New Domain Name: (Zone)"),
                              zonename, zonePageNext, zonePageCancel));
    pages->addWidget(makePage(pages, QStringLiteral("Two"),
                              QStringLiteral("Enter the IP# of the Primary DNS Server for this zone:"), ipaddress,
                              mastersPageDone, mastersPageCancel));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    connect(zonePageNext, &QPushButton::clicked, this, &NewSecondaryDialog::nextFromZonePage);
    connect(zonePageCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mastersPageDone, &QPushButton::clicked, this, &NewSecondaryDialog::finishMastersPage);
    connect(mastersPageCancel, &QPushButton::clicked, this, [this] { showPage(0); });
}

void NewSecondaryDialog::showPage(int page)
{
    pages->setCurrentIndex(page);
    (page == 0 ? zonePageNext : mastersPageDone)->setDefault(true);
    (page == 0 ? zonename : ipaddress)->setFocus(Qt::OtherFocusReason);
}

void NewSecondaryDialog::showEvent(QShowEvent* event)
{
    ipaddress->setText(m_context().state.defaultsecondary);
    QDialog::showEvent(event);
    showPage(0);
}

void NewSecondaryDialog::nextFromZonePage()
{
    SecondaryContext context = m_context();
    if (!checkNewSecondaryName(context.state, zonename->text(), context.prompter))
        return;
    zonename->setText(zonename->text().toLower());
    showPage(1);
}

void NewSecondaryDialog::finishMastersPage()
{
    SecondaryContext context = m_context();
    if (!checkSecondaryMaster(ipaddress->text(), context.prompter))
        return;
    createSecondaryZone(context, zonename->text(), ipaddress->text());
    zonename->clear();
    accept();
}
