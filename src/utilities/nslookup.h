#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class Platform;
class Prompter;

// The "NS LookUp" tab's logic. It does not ask the name server itself: it writes a command file and a batch file
// into its folder, starts the batch hidden and polls for the listing the batch writes, counting down the
// seconds it is willing to wait.
class NsLookup : public QObject
{
    Q_OBJECT
public:
    static QString idleLabel() { return QStringLiteral("Timeout in Seconds"); }
    static QString countdownLabel() { return QStringLiteral("Seconds before Timeout: "); }

    // folder: where the batch, command and output files live; interpreter: the program that runs the batch.
    NsLookup(Prompter& prompter, const QString& folder, const QString& interpreter, QObject* parent = nullptr);
    ~NsLookup() override;

    // The interpreter installed beside the program, else on the search path, else the one of this build.
    static QString defaultInterpreter(const Platform& platform);

    // The name server's port for the listing; 0 for its usual one.
    void setPort(int port) { m_port = port; }

    // Starts a lookup; false when a check refused it (the message has been shown).
    bool lookup(const QString& server, const QString& domain, const QString& typeText, const QString& timeoutText);

    bool isCountingDown() const { return m_counting; }
    QString label() const { return m_label; }
    int countdown() const { return m_countdown; }
    // The last listing shown, its first line blanked.
    QString result() const { return m_result; }
    QString folder() const { return m_folder; }

Q_SIGNALS:
    void labelChanged(const QString& label);
    void resultChanged(const QString& text);
    // The countdown has ended, with the listing (true) or in the time-out (false).
    void finished(bool listed);

private:
    void tick();
    void setLabel(const QString& label);
    void endCountdown(bool listed);
    void startBatch();
    QString filePath(const QString& name) const;
    bool writeLines(const QString& name, const QStringList& lines);

    Prompter& m_prompter;
    QString m_folder;
    QString m_interpreter;
    int m_port = 0;
    QTimer m_timer;
    int m_countdown = 0;
    bool m_counting = false;
    QString m_label = idleLabel();
    QString m_result;
};
