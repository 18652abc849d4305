#include "gui/setup/tldlisteditor.h"

#include "checks/tldeditor.h"
#include "checks/tldlist.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TldListEditor::TldListEditor(TldList& tlds, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_tlds(tlds), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TldListEditor"));
    setModal(true);

    // Without a caption bar the form needs an edge of its own to stand out from what lies beneath it.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("border"));
    frame->setFrameShape(QFrame::Box);

    auto* heading = new QLabel(
        QStringLiteral("These are the top level domans and country extensions which Quorvane supports:"), frame);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setWordWrap(true);
    toplist = new QListWidget(frame);
    toplist->setObjectName(QStringLiteral("toplist"));
    toplist->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* prompt = new QLabel(QStringLiteral("Enter a new TLD/Ext. here."), frame);
    prompt->setObjectName(QStringLiteral("prompt"));
    toadd = new QLineEdit(frame);
    toadd->setObjectName(QStringLiteral("toadd"));
    addtld = new QPushButton(QStringLiteral("Add TLD / Extension"), frame);
    addtld->setObjectName(QStringLiteral("addtld"));
    addtld->setDefault(true);
    deletetld = new QPushButton(QStringLiteral("Delete TLD/Extension"), frame);
    deletetld->setObjectName(QStringLiteral("deletetld"));
    closeit = new QPushButton(QStringLiteral("Close"), frame);
    closeit->setObjectName(QStringLiteral("closeit"));

    connect(addtld, &QPushButton::clicked, this, &TldListEditor::addClick);
    connect(deletetld, &QPushButton::clicked, this, &TldListEditor::deleteClick);
    connect(closeit, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addtld);
    buttons->addWidget(deletetld);
    buttons->addWidget(closeit);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(heading);
    inner->addWidget(toplist);
    inner->addWidget(prompt);
    inner->addWidget(toadd);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    fillList();
}

void TldListEditor::showEvent(QShowEvent* event)
{
    fillList();
    QDialog::showEvent(event);
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
}

void TldListEditor::addClick()
{
    if (!addTld(m_tlds, toadd->text(), m_prompter))
        return;
    toadd->clear();
    fillList();
}

void TldListEditor::deleteClick()
{
    const QList<QListWidgetItem*> chosen = toplist->selectedItems();
    const std::optional<QString> selected =
        chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen.first()->text());
    if (deleteTld(m_tlds, selected, m_prompter))
        fillList();
}

void TldListEditor::fillList()
{
    toplist->clear();
    toplist->addItems(m_tlds.entries());
}
