#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The "Domain Edit" page: the primary and secondary zone trees with their find and sort controls, and the
// zone commands below them.
class DomainEditPage : public QWidget
{
    Q_OBJECT
public:
    explicit DomainEditPage(QWidget* parent = nullptr);

    QTreeWidget* TreeView1; // primary zones
    QTreeWidget* TreeView2; // secondary zones
    QLabel* primcount;
    QLabel* seccount;
    QPushButton* findprim;
    QLineEdit* findprimtext;
    QPushButton* sortprim;
    QPushButton* findsec;
    QLineEdit* findsectext;
    QPushButton* sortsec;
    QPushButton* newprimary;
    QPushButton* fastadd;
    QPushButton* deleteprimary;
    QPushButton* reversemapping;
    QPushButton* newsecondary;
    QPushButton* delsecondary;
    QPushButton* updatechanges;
};
