#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

// The help window: the program's help document in a browser of its own, opened at a section. It is no modal
// window, so the user can keep it beside the window being worked in.
class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    HelpWindow(const QString& documentPath, QWidget* parent = nullptr);

    QTextBrowser* helptext;
    QPushButton* closeit;

    // Shows the window at the section, or at "Getting started" when the document has no such section.
    void showTopic(const QString& topic);
    // The section shown last.
    QString topic() const { return m_topic; }
    QString html() const { return m_html; }

    // The section for a widget: that of the nearest of it and its parents the document has one for, where a page
    // set stands for the page in front. Empty when none has one.
    static QString topicFor(const QWidget* widget, const QString& html);

private:
    QString m_html;
    QString m_topic;
};
