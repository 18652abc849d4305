#include "gui/servers/networkdrivedialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NetworkDriveDialog::NetworkDriveDialog(const QString& localDrive, std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), m_openHelp(std::move(openHelp))
{
    setObjectName(QStringLiteral("NetworkDriveDialog"));
    setWindowTitle(QStringLiteral("Network Drive Mapping"));
    setModal(true);

    auto* mappedText = new QLabel(
        QStringLiteral("Quorvane needs to know the remote drive letter for the following mapped drive:"), this);
    mappedText->setWordWrap(true);
    localdrive = new QLineEdit(localDrive, this);
    localdrive->setObjectName(QStringLiteral("localdrive"));
    localdrive->setReadOnly(true);
    auto* realText = new QLabel(QStringLiteral("Quorvane needs to know what drive the DNS server is installed on.  "
                                               "Enter the real drive, not a network mapped drive letter.  Example: If "
                                               "it is installed on the 'C' drive of a networked computer, select 'C'."),
                                this);
    realText->setWordWrap(true);
    auto* helpText = new QLabel(QStringLiteral("Press F1 for more detailed HELP"), this);

    driveletter = new QComboBox(this);
    driveletter->setObjectName(QStringLiteral("driveletter"));
    driveletter->setEditable(true);
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        driveletter->addItem(QString(QChar(c)));
    driveletter->setCurrentText(QStringLiteral("C"));
    okbutton = new QPushButton(QStringLiteral("OK"), this);
    okbutton->setObjectName(QStringLiteral("okbutton"));
    okbutton->setDefault(true);

    auto* letterRow = new QFormLayout;
    letterRow->addRow(QStringLiteral("Drive Letter"), driveletter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mappedText);
    layout->addWidget(localdrive);
    layout->addWidget(realText);
    layout->addLayout(letterRow);
    layout->addWidget(helpText);
    layout->addWidget(okbutton, 0, Qt::AlignRight);

    connect(okbutton, &QPushButton::clicked, this, &NetworkDriveDialog::okbuttonClick);
}

void NetworkDriveDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && m_openHelp) {
        m_openHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

void NetworkDriveDialog::okbuttonClick()
{
    drivetransfer = driveletter->currentText();
    accept();
}
