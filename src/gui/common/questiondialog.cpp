#include "gui/common/questiondialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QuestionDialog::QuestionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QuestionDialog"));
    setWindowTitle(QStringLiteral("Question"));
    // No close box: the question is answered with OK or Cancel (Escape counts as Cancel).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("questiontext"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(275);
    m_dontAsk = new QCheckBox(QStringLiteral("Don't display errors of this kind in the future. "), this);
    m_dontAsk->setObjectName(QStringLiteral("dontask"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    // OK accepts the completed name, which takes nothing back; Escape and Cancel return to the field.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_dontAsk);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString QuestionDialog::ask(const QString& text, bool offerAll)
{
    m_text->setText(text);
    m_dontAsk->setChecked(false);
    m_dontAsk->setVisible(offerAll);
    if (exec() != QDialog::Accepted)
        return QStringLiteral("CANCEL");
    return offerAll && m_dontAsk->isChecked() ? QStringLiteral("ALL") : QStringLiteral("OK");
}
