#include "gui/history/changepreviewdialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ChangePreviewDialog::ChangePreviewDialog(const QString& changes, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("changepreview"));
    setWindowTitle(QStringLiteral("Update Changes"));
    setModal(true);
    heading = new QLabel(changes.isEmpty()
                             ? QStringLiteral("No changes since the name server last loaded the files.")
                             : QStringLiteral("These changes since the name server last loaded the files go live:"),
                         this);
    heading->setObjectName(QStringLiteral("heading"));
    changestext = new QPlainTextEdit(changes, this);
    changestext->setObjectName(QStringLiteral("changestext"));
    changestext->setReadOnly(true);
    changestext->setLineWrapMode(QPlainTextEdit::NoWrap);
    changestext->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    apply = new QPushButton(QStringLiteral("&Apply"), this);
    apply->setObjectName(QStringLiteral("apply"));
    apply->setAutoDefault(false);
    cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(changestext, 1);
    layout->addLayout(buttons);
    resize(720, 480);
    changestext->setFocus();
}
