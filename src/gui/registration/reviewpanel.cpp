#include "gui/registration/reviewpanel.h"

#include "gui/registration/registrationwidgets.h"
#include "registration/registrationworkspace.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ReviewPanel::ReviewPanel(const QString& prefix, const QString& mailCaption, QWidget* parent) : QWidget(parent)
{
    view = new QPlainTextEdit(this);
    view->setObjectName(prefix + QStringLiteral("view"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed pitch, so that the values line up behind their dotted labels.
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    showform = newButton(this, prefix + QStringLiteral("showform"), QStringLiteral("Show Form"));
    mail = newButton(this, prefix + QStringLiteral("mail"), mailCaption);
    print = newButton(this, prefix + QStringLiteral("print"), QStringLiteral("Print"));
    savedefault = newButton(this, prefix + QStringLiteral("savedefault"), QStringLiteral("Save as Default"));
    clearall = newButton(this, prefix + QStringLiteral("clearall"), QStringLiteral("Clear All"));
    status = newField(this, prefix + QStringLiteral("status"));
    status->setReadOnly(true);
    status->setText(QStringLiteral("status..."));
    progress = new QProgressBar(this);
    progress->setObjectName(prefix + QStringLiteral("progress"));
    progress->setRange(0, 100);
    progress->setValue(0);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {showform, mail, print, savedefault, clearall})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(view, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status, 1);
    bottom->addWidget(progress, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
}

void ReviewPanel::showLines(const QStringList& lines)
{
    view->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList ReviewPanel::lines() const
{
    const QString text = view->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void ReviewPanel::showMailStatus(const MailStatus& mailStatus)
{
    if (mailStatus.bar)
        progress->setValue(*mailStatus.bar);
    status->setText(mailStatus.text);
}
