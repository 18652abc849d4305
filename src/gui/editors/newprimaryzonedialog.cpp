#include "gui/editors/newprimaryzonedialog.h"

#include "editors/primaryzonecreation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewPrimaryZoneDialog::NewPrimaryZoneDialog(std::function<ZoneContext()> zoneContext,
                                           std::function<void(const QString&)> openWizard, QWidget* parent)
    : QDialog(parent), m_zoneContext(std::move(zoneContext)), m_openWizard(std::move(openWizard))
{
    setObjectName(QStringLiteral("NewPrimaryZoneDialog"));
    setWindowTitle(QStringLiteral("Create a new Primary Zone..."));
    setWindowModality(Qt::WindowModal);
    newname = new QLineEdit(this);
    newname->setObjectName(QStringLiteral("newname"));
    newname->setToolTip(QStringLiteral("The name of the new zone, such as mydomain.com"));
    startwizard = new QPushButton(QStringLiteral("Start Wizard"), this);
    startwizard->setObjectName(QStringLiteral("startwizard"));
    startwizard->setDefault(true);
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startwizard);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please enter a new Domain Name: (Zone)"), this));
    layout->addWidget(new QLabel(QStringLiteral("For example: mydomain.com"), this));
    layout->addWidget(newname);
    layout->addLayout(buttons);
    connect(startwizard, &QPushButton::clicked, this, &NewPrimaryZoneDialog::startwizardClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

void NewPrimaryZoneDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    newname->setFocus(Qt::OtherFocusReason);
}

void NewPrimaryZoneDialog::startwizardClick()
{
    ZoneContext context = m_zoneContext();
    QString name = newname->text();
    const CreationStatus status = startPrimaryZone(context, name);
    if (status == CreationStatus::Refused || status == CreationStatus::FileFailed) {
        newname->setText(name);
        return;
    }
    hide();
    newname->clear();
    if (status == CreationStatus::Created && m_openWizard)
        m_openWizard(name);
}
