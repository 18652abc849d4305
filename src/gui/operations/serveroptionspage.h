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
class ServerOptionsPage : public QWidget
{
    Q_OBJECT
public:
    explicit ServerOptionsPage(QWidget* parent = nullptr);

    // The secondary reverse mapping list: its lines, and the row selected in it (-1 for none). "Delete " is
    // enabled only while a row is selected.
    void showSecondaryReverse(const QStringList& lines);
    int selectedSecondaryReverseRow() const;

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

Q_SIGNALS:
    void addSecondaryReverseRequested();
    void deleteSecondaryReverseRequested();
};
