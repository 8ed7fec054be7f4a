#pragma once

// Runs a real 6502 cross-assembler on exported text and hands back the bytes
// it produced. The source is assembled at $1000 into a raw file without load
// address, so the result holds exactly the data bytes of the text in order.
// A missing assembler is an error, not a reason to skip: the test that calls
// assemble() must fail with the returned message.

#include <QByteArray>
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
        arguments << QStringLiteral("-f") << QStringLiteral("plain"); // the bare bytes, no load address
    } else if (assembler == QLatin1String("64tass")) {
        arguments << QStringLiteral("--nostart") << QStringLiteral("-q"); // no load address, no banner
    } else {
        error = QStringLiteral("unknown assembler \"%1\" (use \"acme\" or \"64tass\")").arg(assembler);
        return false;
    }
    arguments << QStringLiteral("-o") << QStringLiteral("out.bin") << QStringLiteral("in.asm");

    const QString program = QStandardPaths::findExecutable(assembler);
    if (program.isEmpty()) {
        error = QStringLiteral("%1 is not installed; scripts/test.sh installs it").arg(assembler);
        return false;
    }
    QTemporaryDir directory;
    QFile input(directory.filePath(QStringLiteral("in.asm")));
    if (!directory.isValid() || !input.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write %1: %2").arg(input.fileName(), input.errorString());
        return false;
    }
    input.write(QByteArrayLiteral("*=$1000\n") + source.toUtf8());
    input.close();

    QProcess process;
    process.setWorkingDirectory(directory.path());
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        error = QStringLiteral("%1 did not run to its end within a minute: %2").arg(assembler, process.errorString());
        return false;
    }
    const QString messages = QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 failed with exit code %2:\n%3").arg(assembler).arg(process.exitCode()).arg(messages);
        return false;
    }
    QFile output(directory.filePath(QStringLiteral("out.bin")));
    if (!output.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1 wrote no output file:\n%2").arg(assembler, messages);
        return false;
    }
    bytes = output.readAll();
    return true;
}
