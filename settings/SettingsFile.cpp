#include "SettingsFile.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QByteArray kByteOrderMark = "\xEF\xBB\xBF";

// Text files hold no control characters but tab and the line ends; anything
// else (a NUL above all) means the file is binary.
bool isBinaryByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f;
}

// Commands are plain printable ASCII.
bool isCommandText(const QByteArray& line)
{
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray composeSettingsFile(const SettingsFileHeader& header, const QByteArrayList& lines)
{
    QByteArray text = "# PK70App camera settings\n";
    text += "# model: " + header.model.toLatin1() + '\n';
    text += "# version: " + header.version.toLatin1() + '\n';
    text += "# date: " + header.date.toString(Qt::ISODate).toLatin1() + '\n';
    text += "# family: " + header.family.toLatin1() + '\n';
    for (const QByteArray& line : lines)
        text += line + '\n';
    return text;
}

SettingsFileReading readSettingsFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {std::nullopt, QStringLiteral("The settings file %1 does not exist.").arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("The settings file %1 could not be read: %2.").arg(path, file.errorString())};
    return readSettingsDevice(file, path);
}

SettingsFileReading readSettingsDevice(QIODevice& device, const QString& name)
{
    // One byte more than allowed tells a file that is too large without
    // reading all of it; a pipe comes in pieces, and an empty read is its end.
    QByteArray bytes;
    while (bytes.size() <= kMaxSettingsFileBytes) {
        const QByteArray piece = device.read(kMaxSettingsFileBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > kMaxSettingsFileBytes)
        return {std::nullopt, QStringLiteral("%1 is no settings file: it is larger than 1 MB.").arg(name)};
    return parseSettingsFile(bytes, name);
}

QString settingsLineProblem(const QByteArray& line)
{
    if (line.size() > kMaxSettingsLineLength)
        return QStringLiteral("is longer than %1 characters").arg(kMaxSettingsLineLength);
    if (std::any_of(line.begin(), line.end(), isBinaryByte))
        return QStringLiteral("holds binary data");
    if (!isCommandText(line))
        return QStringLiteral("holds characters other than plain ASCII, which no camera command has");
    return {};
}

SettingsFileReading parseSettingsFile(const QByteArray& bytes, const QString& name)
{
    static const QRegularExpression modelComment(QStringLiteral("^#\\s*model\\s*:\\s*(.*)$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QByteArray text = bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    if (text.endsWith('\n'))
        text.chop(1);

    SettingsFileContents contents;
    bool modelSeen = false;
    const QByteArrayList lines = text.isEmpty() ? QByteArrayList() : text.split('\n');
    // Binary content anywhere makes the whole file binary, whatever its first lines look like.
    for (int i = 0; i < lines.size(); ++i) {
        if (std::any_of(lines.at(i).begin(), lines.at(i).end(), isBinaryByte))
            return {std::nullopt, QStringLiteral("%1 is no settings file: line %2 holds binary data.").arg(name).arg(i + 1)};
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& raw = lines.at(i);
        const int number = i + 1;
        if (raw.size() > kMaxSettingsLineLength)
            return {std::nullopt, QStringLiteral("%1 is no settings file: line %2 is longer than %3 characters.")
                                      .arg(name)
                                      .arg(number)
                                      .arg(kMaxSettingsLineLength)};
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith('#')) {
            const QRegularExpressionMatch match = modelComment.match(QString::fromUtf8(line));
            if (match.hasMatch() && !modelSeen) {
                contents.model = match.captured(1).trimmed();
                modelSeen = true;
            }
            continue;
        }
        if (!isCommandText(line))
            return {std::nullopt, QStringLiteral("%1 is no settings file: line %2 holds characters other than plain "
                                                 "ASCII, which no camera command has.")
                                      .arg(name)
                                      .arg(number)};
        contents.lines.append({number, line});
    }
    if (contents.lines.isEmpty())
        return {std::nullopt, QStringLiteral("%1 holds no command lines.").arg(name)};
    return {std::move(contents), QString()};
}
