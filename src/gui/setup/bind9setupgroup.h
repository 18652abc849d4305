#pragma once

#include <QGroupBox>

struct AppState;
class QComboBox;
class QLineEdit;
class QSpinBox;

// The "Setup" page's settings of the name server control: the control program and how BIND 9 serves the loaded
// server. Every edit goes straight into the program state, as on the rest of the page.
class Bind9SetupGroup : public QGroupBox
{
    Q_OBJECT
public:
    Bind9SetupGroup(AppState& state, QWidget* parent = nullptr);

    // Shows the state's values in the fields.
    void showState();

    QLineEdit* ndcprogram;
    QComboBox* bind9mode;
    QLineEdit* bind9address;
    QSpinBox* bind9port;
    QSpinBox* bind9controlport;
    QLineEdit* bind9extraoptions;
    QLineEdit* bind9namedprogram;
    QLineEdit* bind9rndcprogram;
    QLineEdit* bind9zonesfile;
    QLineEdit* bind9rndckey;
    QLineEdit* bind9systemconfig;
    QLineEdit* bind9catalogzone;

private:
    QLineEdit* textField(const QString& name, QString* target);
    QSpinBox* portField(const QString& name, const QString& setting, int* target);

    AppState& m_state;
    QList<std::pair<QLineEdit*, QString*>> m_texts;
    QList<std::pair<QSpinBox*, int*>> m_ports;
    bool m_showing = false; // the fields are being given the state's values, not the user's
};
