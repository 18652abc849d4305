#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

// The question dialog of the name checks: a text, OK and Cancel, and a check box against further questions
// that is shown only when offered and is always unticked when the dialog opens.
class QuestionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget* parent = nullptr);

    // "OK", "ALL" (OK with the box ticked) or "CANCEL".
    QString ask(const QString& text, bool offerAll);

private:
    QLabel* m_text;
    QCheckBox* m_dontAsk;
};
