#include "gui/servers/sampleserveroffer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

SampleServerOffer::SampleServerOffer(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("sampleoffer"));
    setFrameShape(QFrame::StyledPanel);
    auto* text = new QLabel(QStringLiteral("No server is set up yet. Open the sample server to look around with real "
                                           "zones, or set up your own with \"Add New Server\". The administrator "
                                           "address you are asked for goes into the zones you create."),
                            this);
    text->setObjectName(QStringLiteral("sampletext"));
    text->setWordWrap(true);
    opensample = new QPushButton(QStringLiteral("Open the sample server"), this);
    opensample->setObjectName(QStringLiteral("opensample"));
    opensample->setToolTip(QStringLiteral("Makes a small server with three zones in your own data folder and loads "
                                          "it. Nothing outside that folder is touched."));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addWidget(opensample);
}
