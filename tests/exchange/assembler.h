#pragma once

// Runs a real 6502 cross-assembler on exported text and hands back the bytes
// it produced. The source is assembled at $1000 into a raw file without load
// address, so the result holds exactly the data bytes of the text in order.
//
// A missing assembler is an error, not a reason to skip: the test that calls
// assemble() must fail with the returned message.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// assembler is "acme" (ACME) or "64tass". On success bytes holds the output
// and the result is true; otherwise error tells what went wrong, including
// the assembler's own messages.
inline bool assemble(const QString& assembler, const QString& source, QByteArray& bytes, QString& error)
{
    bytes.clear();
    error.clear();

    QStringList arguments;
    if (assembler == QLatin1String("acme")) {
        // -f plain: the bare bytes, no load address in front.
        arguments << QStringLiteral("-f") << QStringLiteral("plain") << QStringLiteral("-o")
                  << QStringLiteral("out.bin") << QStringLiteral("in.asm");
    } else if (assembler == QLatin1String("64tass")) {
        // --nostart: strip the load address; -q: no banner.
        arguments << QStringLiteral("--nostart") << QStringLiteral("-q") << QStringLiteral("-o")
                  << QStringLiteral("out.bin") << QStringLiteral("in.asm");
    } else {
        error = QStringLiteral("unknown assembler \"%1\" (use \"acme\" or \"64tass\")").arg(assembler);
        return false;
    }

    const QString program = QStandardPaths::findExecutable(assembler);
    if (program.isEmpty()) {
        error = QStringLiteral("%1 is not installed; scripts/test.sh installs it").arg(assembler);
        return false;
    }

    QTemporaryDir directory;
    if (!directory.isValid()) {
        error = QStringLiteral("cannot create a temporary directory: %1").arg(directory.errorString());
        return false;
    }
    const QDir dir(directory.path());

    QFile input(dir.filePath(QStringLiteral("in.asm")));
    if (!input.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(input.fileName(), input.errorString());
        return false;
    }
    input.write(QByteArrayLiteral("*=$1000\n"));
    input.write(source.toUtf8());
    input.close();

    QProcess process;
    process.setWorkingDirectory(directory.path());
    process.start(program, arguments);
    if (!process.waitForStarted(30000)) {
        error = QStringLiteral("%1 did not start: %2").arg(assembler, process.errorString());
        return false;
    }
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        error = QStringLiteral("%1 did not finish within a minute").arg(assembler);
        return false;
    }
    const QString messages = QString::fromLocal8Bit(process.readAllStandardError())
        + QString::fromLocal8Bit(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 failed with exit code %2:\n%3").arg(assembler).arg(process.exitCode()).arg(messages);
        return false;
    }

    QFile output(dir.filePath(QStringLiteral("out.bin")));
    if (!output.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1 wrote no output file:\n%2").arg(assembler, messages);
        return false;
    }
    bytes = output.readAll();
    return true;
}
