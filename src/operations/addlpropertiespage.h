#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The "Addl Properties" page: the root cache view, the advanced boot options and the secondary reverse
// mapping list.
class AddlPropertiesPage : public QWidget
{
    Q_OBJECT
public:
    explicit AddlPropertiesPage(QWidget* parent = nullptr);

    QLabel* cachelabel;
    QPlainTextEdit* cachetext;
    QPushButton* getcache;

    QCheckBox* forwardonly;
    QCheckBox* norecursion;
    QCheckBox* querylog;
    QCheckBox* limittransfers;
    QLineEdit* limittransfersvalue;
    QCheckBox* limitpername;
    QLineEdit* limitpernamevalue;
    QListWidget* xfrnets;
    QPushButton* addxfrnet;
    QPushButton* delxfrnet;
    QListWidget* bogusns;
    QPushButton* addbogus;
    QPushButton* delbogus;
    QListWidget* forwarders;
    QPushButton* addforwarder;
    QPushButton* delforwarder;
    QPushButton* updateoptions;

    QListWidget* secreverse;
    QPushButton* addsecreverse;
    QPushButton* delsecreverse;
};
