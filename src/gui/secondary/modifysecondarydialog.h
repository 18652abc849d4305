#pragma once

#include "secondary/secondaryzones.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// "Modify Secondary": a secondary zone's name and its list of masters.
class ModifySecondaryDialog : public QDialog
{
    Q_OBJECT
public:
    ModifySecondaryDialog(std::function<SecondaryContext()> context, QWidget* parent = nullptr);

    QLineEdit* secname;
    QListWidget* masterlist;
    QLineEdit* ipaddress;
    QPushButton* addit;
    QPushButton* deleteit;
    QPushButton* saveit;
    QPushButton* closeit;

    // Opens the dialog for the zone of the clicked node; nothing when no zone is selected.
    void openFor(const QString& zone);

    void additClick();
    void deleteitClick();
    void saveitClick();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QStringList masters() const;

    std::function<SecondaryContext()> m_context;
    QString m_zone;
};
