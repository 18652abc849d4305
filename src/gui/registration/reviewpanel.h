#pragma once

#include <QWidget>

struct MailStatus;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The "Review & Submit" tab of a registration form: the read-only template, its buttons, and the status
// field and bar the mail client reports on.
class ReviewPanel : public QWidget
{
    Q_OBJECT
public:
    // `prefix` starts the controls' names ("domain" gives "domainview", "domainshowform", ...).
    ReviewPanel(const QString& prefix, const QString& mailCaption, QWidget* parent = nullptr);

    void showLines(const QStringList& lines);
    QStringList lines() const;
    void showMailStatus(const MailStatus& status);

    QPlainTextEdit* view = nullptr;
    QPushButton* showform = nullptr;
    QPushButton* mail = nullptr;
    QPushButton* print = nullptr;
    QPushButton* savedefault = nullptr;
    QPushButton* clearall = nullptr;
    QLineEdit* status = nullptr;
    QProgressBar* progress = nullptr;
};
