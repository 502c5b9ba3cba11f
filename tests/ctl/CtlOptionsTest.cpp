#include "CtlOptions.h"

#include "QtPrinters.h"

#include <QBuffer>

#include <gtest/gtest.h>

TEST(CtlArguments, WordsAreGroupedIntoCommandLines)
{
    const struct {
        QStringList words;
        QByteArrayList commands;
    } cases[] = {
        {{"GAIN-FINE", "50", "GAIN-FINE"}, {"GAIN-FINE 50", "GAIN-FINE"}},
        {{"BLACKLEVEL", "-3", "MODEL"}, {"BLACKLEVEL -3", "MODEL"}},
        {{"MULTI-ROI", "1", "0", "0", "64", "48"}, {"MULTI-ROI 1 0 0 64 48"}},
        {{"HELP", "TRG-MODE", "HELP", "GAIN"}, {"HELP TRG-MODE", "HELP GAIN"}},
        // A quoted command is sent as written and takes no further words.
        {{"CR-TF-VAL 01  5", "7"}, {"CR-TF-VAL 01  5", "7"}},
        {{"5", "MODEL"}, {"5", "MODEL"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandsFromArguments(c.words), c.commands) << c.words.join(' ').toStdString();
}

TEST(CtlArguments, OptionsComeBeforeTheCommands)
{
    const ParsedCtlArguments parsed = parseCtlArguments(
        {"--port", "sim:PTM-TW640M", "--rate=9600", "--json", "--keep-going", "--timeout", "2.5", "--wire-log", "w.log",
         "BLACKLEVEL", "-3", "MODEL"});
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    const CtlOptions& options = parsed.options;
    EXPECT_EQ(options.ports, QStringList{"sim:PTM-TW640M"});
    EXPECT_EQ(options.rate, 9600);
    EXPECT_TRUE(options.json);
    EXPECT_TRUE(options.keepGoing);
    EXPECT_EQ(options.timeoutMs, 2500);
    EXPECT_EQ(options.wireLogPath, "w.log");
    EXPECT_EQ(options.commands, (QByteArrayList{"BLACKLEVEL -3", "MODEL"}));
}

TEST(CtlArguments, EverythingAfterADoubleDashIsCommands)
{
    EXPECT_EQ(parseCtlArguments({"--port", "x", "--", "USER-ID", "--x"}).options.commands,
              QByteArrayList{"USER-ID --x"});
}

TEST(CtlArguments, WrongArgumentsAreNamed)
{
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{"MODEL"}, "--port is missing: name the camera's port"},
        {{"--port"}, "--port needs a value"},
        {{"--port", "x", "--rate", "fast"}, "the rate must be a positive whole number, not \"fast\""},
        {{"--port", "x", "--rate", "0"}, "the rate must be a positive whole number, not \"0\""},
        {{"--port", "x", "--timeout", "0"}, "the time-out must be a number of seconds above 0 and at most 3600, not \"0\""},
        {{"--port", "x", "--verbose"}, "unknown option --verbose"},
        {{"--port", "x", "-f", "a.txt", "MODEL"}, "give the commands either as arguments or with -f, not both"},
        // An option after the commands would go to the camera.
        {{"--port", "x", "MODEL", "--json"}, "options go before the commands: --json"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCtlArguments(c.arguments).error, c.error) << c.arguments.join(' ').toStdString();
}

TEST(CtlCommandSource, LinesAreSentAsWrittenWithoutCommentsBlankLinesOrLineEndsAndCheckedOnTheirWay)
{
    const struct {
        QByteArray input;
        QByteArrayList lines;
        QString error;
    } cases[] = {
        {"# gain settings\r\n"
         "GAIN-FINE 50 \r\n"
         "\n"
         "   \t\n"
         "  # an indented comment, Verst\xe4rkung\n"
         "  SP-FL-VAL 12  3\n"
         "BLACKLEVEL 3\rMODEL\r"
         "GAIN-FINE",
         {"GAIN-FINE 50 ", "  SP-FL-VAL 12  3", "BLACKLEVEL 3", "MODEL", "GAIN-FINE"},
         {}},
        // A byte-order mark before the first command is no part of it.
        {"\xEF\xBB\xBFGAIN-FINE 13\n", {"GAIN-FINE 13"}, {}},
        // A line too long ends the reading at once, whatever its length.
        {"MODEL\r\nUSER-ID " + QByteArray(100000, 'x') + "\nGAIN-FINE\n", {"MODEL"},
         "line 2 of standard input is longer than 256 characters"},
        {"MODEL\nUSER-ID caf\xe9\nGAIN-FINE\n", {"MODEL"},
         "line 2 of standard input holds characters other than plain ASCII, which no camera command has"},
    };
    for (const auto& c : cases) {
        QBuffer input;
        input.setData(c.input);
        input.open(QIODevice::ReadOnly);
        CommandSource source(input, QStringLiteral("standard input"));
        QByteArrayList lines;
        while (const std::optional<QByteArray> line = source.next())
            lines << *line;
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(source.error(), c.error);
        EXPECT_EQ(source.count(), c.lines.size());
    }
}
