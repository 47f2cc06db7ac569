#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// The program in real processes (kovex_driver): started, raced, and finished, with what each
// reported and asked.
struct Run {
    int exitCode = -1;
    QString reports;   // what the program reported, one line each
    QString questions; // what it asked
};

// How the driver is started: under a wrapper command (strace, setpriv) when given, with more
// in its environment when given.
struct Launch {
    QStringList args;
    QStringList wrapper;
    QString driver = QStringLiteral(KOVEX_DRIVER);
    QStringList environment; // NAME=value
};

void start(QProcess& process, const Launch& launch);
// Waits for the end; a copy that hangs is ended and counts as failed.
Run finish(QProcess& process);
Run runDriver(const QStringList& args, const QStringList& wrapper = {},
              const QString& driver = QStringLiteral(KOVEX_DRIVER));
// Copies started at once, released together once all are up.
QList<Run> race(QList<Launch> launches);
QList<Run> race(const QStringList& first, const QStringList& second);

// Two configurations of a few MiB each, for applies crosswise: the unit files must always hold
// one apply's pair.
struct CrosswisePair {
    explicit CrosswisePair(const QString& app);
    // Empty when the game holds one apply's pair, else what it holds.
    QString wrongIn(const QString& game) const;
    QByteArray alpha;
    QByteArray beta;
};
