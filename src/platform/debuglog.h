#pragma once

#include <QString>

#include <functional>

// The optional debug log: off at every start, switched by a hidden shortcut, one line appended at a time so
// the file is complete after every line. Nothing is ever removed from it.
class DebugLog
{
public:
    explicit DebugLog(QString path = QString()) : m_path(std::move(path)) {}

    bool isOn() const { return m_on; }
    const QString& path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }

    // Called with the reason when a line cannot be written.
    void setErrorHandler(std::function<void(const QString&)> handler) { m_onError = std::move(handler); }

    // Writes the line when the log is on.
    void logLine(const QString& text);

    // Switching on and off; each writes its stamped line ("... Activated At " / "... Deactivated At " + when).
    bool switchOn(const QString& when);
    bool switchOff(const QString& when);

private:
    bool append(const QString& text);

    QString m_path;
    bool m_on = false;
    std::function<void(const QString&)> m_onError;
};
