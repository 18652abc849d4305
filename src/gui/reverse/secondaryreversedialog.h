#pragma once

#include "reverse/secondaryreverse.h"

#include <QDialog>
#include <functional>

class Prompter;
class QLineEdit;
class QListWidget;
class QPushButton;

// The dialog "Specify IPs to be Serviced": network blocks whose reverse zones this server copies from another
// server. "Save" hands the blocks of this showing to the boot file and closes.
class SecondaryReverseDialog : public QDialog
{
    Q_OBJECT
public:
    using Saver = std::function<void(const QList<SecondaryReverseBlock>&)>;

    SecondaryReverseDialog(Prompter& prompter, Saver save, QWidget* parent = nullptr);

    void addClick();
    void deleteClick();
    void saveClick();

    const QList<SecondaryReverseBlock>& blocks() const { return m_blocks; }

    QLineEdit* lowip;
    QLineEdit* highip;
    QLineEdit* masterip;
    QListWidget* iplist;
    QPushButton* addip;
    QPushButton* deleteip;
    QPushButton* saveips;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void clearRange();

    Prompter& m_prompter;
    Saver m_save;
    QList<SecondaryReverseBlock> m_blocks;
};
