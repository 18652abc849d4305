#include "gui/operations/datafileviewer.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

DatafileViewer::DatafileViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DatafileViewer"));
    setWindowTitle(QStringLiteral("Quorvane Datafile Viewer"));
    setModal(true);

    datatext = new QPlainTextEdit(this);
    datatext->setObjectName(QStringLiteral("datatext"));
    datatext->setReadOnly(true);
    // Where "Courier New" is missing, the type-writer hint lets the font matching pick a fixed-pitch face.
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    datatext->setFont(font);
    datatext->setLineWrapMode(QPlainTextEdit::NoWrap);
    datatext->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    datatext->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    closeviewer = new QPushButton(QStringLiteral("Close"), this);
    closeviewer->setDefault(true);
    closeviewer->setObjectName(QStringLiteral("closeviewer"));
    connect(closeviewer, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(datatext, 1);
    layout->addWidget(closeviewer, 0, Qt::AlignHCenter);
    resize(640, 480);
}
