#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

class QCheckBox;
class QGroupBox;
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
    // For a server a named.conf describes: its options, one a line with where it is set, shown in place of the boot
    // options, which are then not offered. None: the boot options again.
    void showConfOptions(const std::optional<QStringList>& lines);

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
    QPlainTextEdit* bind9options; // a named.conf's options, read-only

    QListWidget* secreverse;
    QPushButton* addsecreverse;
    QPushButton* delsecreverse;

Q_SIGNALS:
    void addSecondaryReverseRequested();
    void deleteSecondaryReverseRequested();

private:
    QGroupBox* m_optionsBox = nullptr;
};
