#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "Quorvane Datafile Viewer": a name server's database dump or statistics, or a zone file, shown read-only once
// and then thrown away.
class DatafileViewer : public QDialog
{
    Q_OBJECT
public:
    explicit DatafileViewer(QWidget* parent = nullptr);

    QPlainTextEdit* datatext;
    QPushButton* closeviewer;
};
