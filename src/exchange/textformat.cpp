#include "exchange/textformat.h"

TextFormat::TextFormat(const ExportDataOptions& options)
    : options(options)
{
}

QString TextFormat::labelName(const QString& name)
{
    QString label;
    for (const QChar c : name) {
        const ushort code = c.unicode();
        if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')
            || code == '_')
            label.append(c);
        else if (code == ' ' || code == '\t')
            label.append(QLatin1Char('_'));
    }
    return label;
}

QString TextFormat::value(int value) const
{
    if (!hex())
        return QString::number(value);
    return options.hexPrefix + QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString TextFormat::commentValue(int value) const
{
    if (!hex())
        return QString::number(value);
    return options.hexPrefix
        + QStringLiteral("%1").arg(value, value > 255 ? 4 : 2, 16, QLatin1Char('0')).toUpper();
}

QString TextFormat::byteList(const QByteArray& bytes) const
{
    const QString head = QStringLiteral("%1%2 ").arg(QString(qMax(0, options.indentSpaces), QLatin1Char(' ')),
                                                     options.dataPrefix);
    const int perLine = qMax(1, options.dataPerLine);
    // Sets of tens of thousands of images make megabytes of text: every
    // byte value is formatted once.
    QString values[256];
    for (int v = 0; v < 256; ++v)
        values[v] = value(v);
    QString text;
    text.reserve(bytes.size() * (values[255].size() + options.separator.size()) + (bytes.size() / perLine + 1) * (head.size() + 1));
    int column = 0;
    for (int i = 0; i < bytes.size(); ++i) {
        if (column == 0)
            text += head;
        text += values[quint8(bytes.at(i))];
        const bool more = i + 1 < bytes.size();
        if (++column == perLine) {
            if (more)
                text += QLatin1Char('\n');
            column = 0;
        } else if (more) {
            text += options.separator;
        }
    }
    return text;
}

QString TextFormat::section(const QString& label, const QByteArray& bytes, const QString& header) const
{
    return header + label + QStringLiteral(":\n") + byteList(bytes) + QStringLiteral("\n\n");
}

QString TextFormat::text(const QList<ExportSection>& sections) const
{
    QString result;
    for (const ExportSection& section : sections)
        result += section.label.isEmpty() ? section.header : this->section(section.label, section.bytes, section.header);
    return result;
}

QString TextFormat::comment(const QString& text) const
{
    return options.commentPrefix + text + QLatin1Char('\n');
}

QByteArray TextFormat::littleEndianWord(int value)
{
    QByteArray bytes;
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
    return bytes;
}
