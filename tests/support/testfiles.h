#pragma once

#include <QByteArray>
#include <QString>

// Small helpers for tests that compare whole files.
QByteArray readBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);
QString testDataPath(const QString& relative);
