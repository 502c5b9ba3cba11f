#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"
#include "TerminalDlg.h"
#include "TestPages.h"
#include "WireLog.h"
#include "WireLogDlg.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct NoProgressView : DetectionProgressView {
    void showAttempt(int, qint32) override {}
    bool cancelRequested() override { return false; }
};

QStringList linesOf(const QString& text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

// The lines without their times.
QStringList withoutTimes(const QStringList& lines)
{
    QStringList shown;
    for (const QString& line : lines)
        shown << line.mid(line.indexOf(" ms  ") + 5);
    return shown;
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return linesOf(QString::fromUtf8(file.readAll()));
}

} // namespace

// The main window on a simulated PTM-TW640M with test pages.
class WireLogWindowTest : public ::testing::Test {
protected:
    WireLogWindowTest()
    {
        window.setPageLists(recordingPages({"General"}), recordingPages({"General"}));
        window.setDetectionProgressView([] { return std::make_unique<NoProgressView>(); });
        window.setPortChooser([](const QString&, qint32) -> std::optional<PortChoice> {
            return PortChoice{SimulatedCameras::portOf("PTM-TW640M"), 9600};
        });
    }

    void openWireLog()
    {
        for (QAction* action : window.menuBar()->actions()) {
            if (action->text() == "Wire &Log")
                action->trigger();
        }
        ASSERT_NE(window.wireLogWindow(), nullptr);
    }

    void typeInTerminal(const QString& line)
    {
        window.showTerminal();
        window.terminal()->commandEdit()->setText(line);
        QTest::keyClick(window.terminal()->commandEdit(), Qt::Key_Return);
    }

    QStringList shown() const { return linesOf(window.wireLogWindow()->view()->toPlainText()); }

    SimulatedCameras cameras;
    CapturedMessages messages;
    QTemporaryDir directory;
    CCameraLinkDlg window{cameras.clock};
};

TEST_F(WireLogWindowTest, TheMenuEntryShowsTheLinesOfStartUpAndLaterOnesLive)
{
    window.OnInitDialog();
    openWireLog();
    CWireLogDlg* log = window.wireLogWindow();
    EXPECT_TRUE(log->isVisible());
    EXPECT_EQ(log->windowTitle(), "Wire Log");
    const QStringList startUp = withoutTimes(shown());
    const qsizetype model = startUp.lastIndexOf(R"(->  "MODEL\r")");
    ASSERT_GE(model, 0);
    EXPECT_EQ(startUp.mid(model, 4), (QStringList{R"(->  "MODEL\r")", R"(<-  "MODEL\r")", R"(<-  "PTM-TW640M\r")",
                                                  R"(<-  "OK\r")"}));

    typeInTerminal("GAIN-FINE 50");
    QCoreApplication::processEvents();
    EXPECT_EQ(withoutTimes(shown()).mid(startUp.size()),
              (QStringList{R"(->  "GAIN-FINE 50\r")", R"(<-  "GAIN-FINE 50\r")", R"(<-  "OK\r")"}));
}

TEST_F(WireLogWindowTest, SaveWritesTheLinesShownAndSaysWhenItCannot)
{
    window.OnInitDialog();
    openWireLog();
    CWireLogDlg* log = window.wireLogWindow();
    const QString path = directory.filePath("saved.txt");
    const QString unwritable = directory.filePath("no-folder/saved.txt");
    for (const QString& chosen : {QString(), unwritable, path}) {
        log->setSaveFileChooser([&chosen](QWidget*) { return chosen; });
        log->saveButton()->click();
    }
    EXPECT_EQ(fileLines(path), shown());
    EXPECT_FALSE(QFile::exists(unwritable));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("The wire log could not be saved to " + unwritable + ": "))
        << messages.texts[0].toStdString();
}

TEST_F(WireLogWindowTest, ClearEmptiesTheWindowAndTheLogWhichGoesOnWithTheNextLine)
{
    window.OnInitDialog();
    openWireLog();
    window.wireLogWindow()->clearButton()->click();
    EXPECT_EQ(shown(), QStringList());
    EXPECT_EQ(window.wireLog().size(), 0);
    typeInTerminal("MODEL");
    QCoreApplication::processEvents();
    EXPECT_EQ(withoutTimes(shown()),
              (QStringList{R"(->  "MODEL\r")", R"(<-  "MODEL\r")", R"(<-  "PTM-TW640M\r")", R"(<-  "OK\r")"}));
}

TEST_F(WireLogWindowTest, TheWindowKeepsTheLastTenThousandLines)
{
    openWireLog();
    WireLog& log = window.wireLog();
    for (int i = 0; i < 10050; ++i)
        log.sent("GAIN " + QByteArray::number(i) + '\r', i);
    QCoreApplication::processEvents();
    const QStringList lines = withoutTimes(shown());
    ASSERT_EQ(lines.size(), 10000);
    EXPECT_EQ(lines.first(), R"(->  "GAIN 50\r")");
    EXPECT_EQ(lines.last(), R"(->  "GAIN 10049\r")");
}

TEST_F(WireLogWindowTest, TheLogFileIsWrittenWhileTheApplicationRuns)
{
    // As pk70app --wire-log FILE does.
    const QString path = directory.filePath("wire.log");
    QString error;
    const auto file = WireLogFile::open(window.wireLog(), path, &error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    window.OnInitDialog();
    const QStringList startUp = withoutTimes(fileLines(path));
    EXPECT_EQ(startUp.first(), "--  opened sim:PTM-TW640M at 9600 baud");
    EXPECT_TRUE(startUp.contains(R"(<-  "PTM-TW640M\r")"));

    typeInTerminal("GAIN-FINE 50");
    EXPECT_EQ(withoutTimes(fileLines(path)).mid(startUp.size()),
              (QStringList{R"(->  "GAIN-FINE 50\r")", R"(<-  "GAIN-FINE 50\r")", R"(<-  "OK\r")"}));
    window.close();
    EXPECT_EQ(withoutTimes(fileLines(path)).last(), "--  closed");
}
