#include "exchange/importparser.h"

#include <QRegularExpression>

namespace {
bool readNumber(const QString& piece, int& value)
{
    bool ok = false;
    if (piece.startsWith(QLatin1Char('$')))
        value = piece.midRef(1).toInt(&ok, 16);
    else if (piece.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = piece.midRef(2).toInt(&ok, 16);
    else
        value = piece.toInt(&ok, 10);
    return ok;
}

bool opensDataLine(const QString& piece)
{
    return piece.size() == 5 && piece.contains(QLatin1String("byte"), Qt::CaseInsensitive);
}

int sectionOf(const QString& piece, const QStringList& keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (piece.contains(keys.at(i), Qt::CaseInsensitive))
            return i;
    }
    return -1;
}
}

QVector<QList<int>> ImportParser::sections(const QString& text, const QStringList& sectionKeys)
{
    QVector<QList<int>> sections(sectionKeys.size());
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList pieces = text.split(separators, Qt::SkipEmptyParts);

    bool inData = false;
    int current = -1;
    for (const QString& piece : pieces) {
        int value = 0;
        if (inData && readNumber(piece, value)) {
            if (current >= 0)
                sections[current].append(value);
            continue;
        }
        // Not a number: the data line (if any) has ended.
        inData = opensDataLine(piece);
        if (!inData)
            current = sectionOf(piece, sectionKeys);
    }
    return sections;
}
