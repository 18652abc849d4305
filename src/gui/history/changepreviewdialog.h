#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// What "Update Changes" is about to make the name server load: the changes of the zone files and the boot file
// since it last loaded them. "Apply" goes on, "Cancel" (the default) leaves the name server alone.
class ChangePreviewDialog : public QDialog
{
    Q_OBJECT
public:
    ChangePreviewDialog(const QString& changes, QWidget* parent);

    QLabel* heading;
    QPlainTextEdit* changestext;
    QPushButton* apply;
    QPushButton* cancel;
};
