#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The text a utility shows: its result lines and its status label. The tabs mirror it on screen; the command
// line prints it.
class ResponseArea : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const QStringList& lines() const { return m_lines; }
    QString status() const { return m_status; }
    bool isBusy() const { return m_busy; }

    void addLine(const QString& line);
    void clear();
    void setStatus(const QString& status);
    void setBusy(bool busy);

Q_SIGNALS:
    void lineAdded(const QString& line);
    void cleared();
    void statusChanged(const QString& status);
    void busyChanged(bool busy);

private:
    QStringList m_lines;
    QString m_status;
    bool m_busy = false;
};
