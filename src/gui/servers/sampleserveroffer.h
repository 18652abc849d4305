#pragma once

#include <QFrame>

class QPushButton;

// What the "Server Info" page shows while no server is set up: a word on where to begin, and the button that
// opens the sample server.
class SampleServerOffer : public QFrame
{
    Q_OBJECT
public:
    explicit SampleServerOffer(QWidget* parent = nullptr);

    QPushButton* opensample;
};
