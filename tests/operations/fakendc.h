#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The tests' control program, put first on the search path under the name "ndc". Each run appends its
// arguments, each in brackets, as one line of the record.
class FakeNdc
{
public:
    // windowsDirectory: where the dump and statistics files go (below "system32").
    explicit FakeNdc(const QString& windowsDirectory);
    ~FakeNdc();

    QStringList runs() const;
    void clearRuns();
    // Seconds each run waits before it ends (empty: none).
    void setDelay(const QString& seconds);
    // The boot file and server identifier the last run found in its environment, separated by a blank.
    QString environment() const;
    // Makes each run fail with this last line on its error stream (empty: runs succeed).
    void setFailure(const QString& line);

private:
    QTemporaryDir m_bin;
    QByteArray m_oldPath;
};
