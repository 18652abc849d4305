#pragma once

#include "utilities/nslookup.h"

#include <QWidget>

class Platform;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "NS LookUp" tab.
class NsLookupTab : public QWidget
{
    Q_OBJECT
public:
    NsLookupTab(Prompter& prompter, Platform& platform, QWidget* parent = nullptr);

    NsLookup& lookup() { return m_lookup; }
    static QStringList recordTypes();

private:
    void lookupClick();

    NsLookup m_lookup;
    QLineEdit* m_server;
    QLineEdit* m_domain;
    QComboBox* m_type;
    QLineEdit* m_timeout;
    QLabel* m_timeoutLabel;
    QPlainTextEdit* m_result;
    QPushButton* m_lookupButton;
};
