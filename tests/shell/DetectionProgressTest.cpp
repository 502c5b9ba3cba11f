#include "QtPrinters.h"
#include "DetectionProgress.h"
#include "LinkFixture.h"
#include "Ports.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {

// Records what the user would have seen; asks to cancel after a number of
// attempts were shown (never when negative).
struct RecordingView : DetectionProgressView {
    struct Log {
        int viewsCreated = 0;
        QList<QPair<int, qint32>> shown;
        qint64 firstShownAtUs = -1;
    };

    RecordingView(Log& log, Clock& clock, int cancelAfter) : log(log), clock(clock), cancelAfter(cancelAfter)
    {
        ++log.viewsCreated;
    }
    void showAttempt(int pass, qint32 baudRate) override
    {
        if (log.firstShownAtUs < 0)
            log.firstShownAtUs = clock.nowUs();
        log.shown.append({pass, baudRate});
    }
    bool cancelRequested() override { return cancelAfter >= 0 && log.shown.size() >= cancelAfter; }

    Log& log;
    Clock& clock;
    int cancelAfter;
};

void listenAt(ScriptedPort* camera, qint32 rate)
{
    camera->responder = [camera, rate](const QByteArray& line) -> QByteArray {
        return line.isEmpty() && camera->rates.last() == rate ? QByteArray("\r") : QByteArray();
    };
    camera->replyDelayMs = 2;
}

} // namespace

class DetectionProgressTest : public LinkFixture {
protected:
    qint32 detect(int cancelAfter = -1)
    {
        DetectionProgress progress(clock, [this, cancelAfter] {
            return std::make_unique<RecordingView>(log, clock, cancelAfter);
        });
        start = clock.nowUs();
        return DetectBaudRate(connection, [&progress](int pass, qint32 rate) { return progress(pass, rate); });
    }

    RecordingView::Log log;
    qint64 start = 0;
};

TEST_F(DetectionProgressTest, ACameraFoundWithinHalfASecondShowsNoProgress)
{
    // 115200 is tried just as the half second is up: it answers before any
    // view is made, rather than flashing one up.
    for (const qint32 rate : {38400, 115200}) {
        listenAt(camera, rate);
        EXPECT_EQ(detect(), rate);
        EXPECT_EQ(log.viewsCreated, 0) << rate;
    }
}

TEST_F(DetectionProgressTest, TheViewAppearsAfterHalfASecondWithTheRateAndPassBeingTried)
{
    listenAt(camera, 460800);
    EXPECT_EQ(detect(), 460800);
    EXPECT_EQ(log.viewsCreated, 1);
    EXPECT_GE((log.firstShownAtUs - start) / 1000, DetectionProgress::kShowAfterMs);
    EXPECT_LT((log.firstShownAtUs - start) / 1000, DetectionProgress::kShowAfterMs + 150);
    EXPECT_EQ(log.shown, (QList<QPair<int, qint32>>{{1, 115200}, {1, 230400}}));
}

TEST_F(DetectionProgressTest, CancelEndsDetectionAsAFailureBeforeTheNextAttempt)
{
    listenAt(camera, 921600);
    EXPECT_EQ(detect(3), kNoRateFound);
    EXPECT_EQ(log.shown.size(), 3);
    // Five attempts before the view came up, three with it until Cancel was seen.
    EXPECT_EQ(camera->rates.size(), 8);
}

TEST_F(DetectionProgressTest, TheProgressDialogShowsTheAttemptAndItsCancelButtonWorks)
{
    listenAt(camera, 1);
    QString label;
    QTimer cancelClicker;
    QObject::connect(&cancelClicker, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(window);
            if (!dialog || !dialog->isVisible())
                continue;
            label = dialog->labelText();
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == "Cancel")
                    button->click();
            }
        }
    });
    cancelClicker.start(0);
    DetectionProgress progress(clock, DetectionProgressDialog::create);
    const qint32 rate = DetectBaudRate(connection, [&progress](int pass, qint32 r) { return progress(pass, r); });
    EXPECT_EQ(rate, kNoRateFound);
    EXPECT_TRUE(label.contains("115200")) << label.toStdString();
    EXPECT_TRUE(label.contains("pass 1 of 30")) << label.toStdString();
    EXPECT_LT(camera->rates.size(), 12);
}
