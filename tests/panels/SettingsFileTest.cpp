// The settings file format: what is written, what is read back, and the one
// message for each kind of file that is no settings file.

#include "SettingsFile.h"

#include "QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArrayList commandsOf(const SettingsFileContents& contents)
{
    QByteArrayList lines;
    for (const SettingsFileLine& line : contents.lines)
        lines << line.text;
    return lines;
}

// Bytes with NULs in them, as a string literal cannot give them.
template <size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

} // namespace

TEST(SettingsFile, TheHeaderNamesModelVersionDateAndFamilyAndTheLinesFollowAsTheyAre)
{
    const QDateTime date(QDate(2026, 12, 8), QTime(11, 42, 21), Qt::OffsetFromUTC, 3600);
    const QByteArray text = composeSettingsFile({"PTM-R560CL", "2.31.0", date, "Brevo"}, {"WIDTH 1600", "SP-FL  1"});
    EXPECT_EQ(text, "# PK70App camera settings\n"
                    "# model: PTM-R560CL\n"
                    "# version: 2.31.0\n"
                    "# date: 2026-12-08T11:42:21+01:00\n"
                    "# family: Brevo\n"
                    "WIDTH 1600\n"
                    "SP-FL  1\n");

    const SettingsFileReading reading = parseSettingsFile(text, "a.txt");
    ASSERT_TRUE(reading.contents) << reading.error.toStdString();
    EXPECT_EQ(reading.contents->model, "PTM-R560CL");
    EXPECT_EQ(reading.contents->lines,
              (QList<SettingsFileLine>{{6, "WIDTH 1600"}, {7, "SP-FL  1"}}));
}

TEST(SettingsFile, AnyFileOfCommandLinesReadsWithCommentsBlankLinesAndEveryLineEnd)
{
    struct Case {
        const char* what;
        QByteArray text;
        QByteArrayList lines;
        QString model;
    };
    const Case cases[] = {
        {"no header", "GAIN-FINE 50\nEXP 1000\n", {"GAIN-FINE 50", "EXP 1000"}, ""},
        {"CR LF and no final line end", "# model: PTM-TW640\r\nGAIN-FINE 50\r\nEXP 1000", {"GAIN-FINE 50", "EXP 1000"}, "PTM-TW640"},
        {"CR alone", "GAIN-FINE 50\rEXP 1000\r", {"GAIN-FINE 50", "EXP 1000"}, ""},
        {"blanks and tabs around lines, kept inside", "  SP-TRG-MODE  2\t\n\n\t# note\n", {"SP-TRG-MODE  2"}, ""},
        {"a byte-order mark", "\xEF\xBB\xBFGAIN-FINE 50\n", {"GAIN-FINE 50"}, ""},
        {"the first model comment counts, in any case", "#Model:PTM-R140ML \n# model: other\nEXP 10\n", {"EXP 10"}, "PTM-R140ML"},
        {"a # inside a command is no comment", "USER-ID cam#7\n", {"USER-ID cam#7"}, ""},
        {"UTF-8 in a comment", "# Kamera für Linie 3\nEXP 10\n", {"EXP 10"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SettingsFileReading reading = parseSettingsFile(c.text, "f");
        ASSERT_TRUE(reading.contents) << reading.error.toStdString();
        EXPECT_EQ(commandsOf(*reading.contents), c.lines);
        EXPECT_EQ(reading.contents->model, c.model);
    }
}

TEST(SettingsFile, EachKindOfBadFileHasOneClearMessage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    };
    const QByteArray longest(kMaxSettingsLineLength, 'A');
    struct Case {
        const char* what;
        QString path;
        QString message; // empty when the file reads
    };
    const Case cases[] = {
        {"missing", dir.filePath("none.txt"), "The settings file %1 does not exist."},
        {"binary", write("image.png", bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR")), "%1 is no settings file: line 2 holds binary data."},
        {"a NUL in a comment", write("nul.txt", bytes("EXP 10\n# a\0b\n")), "%1 is no settings file: line 2 holds binary data."},
        {"over-long line", write("long.txt", "EXP 10\n" + longest + "B\n"),
         "%1 is no settings file: line 2 is longer than 256 characters."},
        {"a line of exactly 256 characters", write("edge.txt", longest + "\n"), ""},
        {"no command lines", write("empty.txt", "# model: PTM-TW640\n\n   \n"), "%1 holds no command lines."},
        {"an empty file", write("zero.txt", ""), "%1 holds no command lines."},
        {"non-ASCII in a command", write("latin.txt", "USER-ID K\xc3\xa4mera\n"),
         "%1 is no settings file: line 1 holds characters other than plain ASCII, which no camera command has."},
        {"larger than 1 MB", write("huge.txt", QByteArray(kMaxSettingsFileBytes + 1, '\n')),
         "%1 is no settings file: it is larger than 1 MB."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SettingsFileReading reading = readSettingsFile(c.path);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(reading.contents) << reading.error.toStdString();
            continue;
        }
        EXPECT_FALSE(reading.contents);
        EXPECT_EQ(reading.error, c.message.arg(c.path));
    }
}
