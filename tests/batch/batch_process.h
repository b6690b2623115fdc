// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// A program run to its end in a folder: pelmora-batch, or a reader of what it wrote.
struct ProcessRun {
    int status;
    QByteArray out;
    QString err;
};

inline ProcessRun runProcess(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, QByteArray(), QStringLiteral("did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

inline ProcessRun runBatch(const QStringList& arguments, const QString& folder) {
    return runProcess(QStringLiteral(PELMORA_BATCH_PATH), arguments, folder);
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
