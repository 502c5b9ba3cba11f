// The application with its real pages against simulated cameras that fail
// during start-up: a line that is cut mid-load, a camera that falls silent,
// and one that answers slowly.
#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanel.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"
#include "StatusLine.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

struct NoProgressView : DetectionProgressView {
    void showAttempt(int, qint32) override {}
    bool cancelRequested() override { return false; }
};

class FaultsEndToEnd : public ::testing::Test {
protected:
    FaultsEndToEnd()
    {
        window.setDetectionProgressView([] { return std::make_unique<NoProgressView>(); });
    }

    // Starts the application on the model's simulated port at its rate.
    void start(const QString& model)
    {
        cameras.camera(model).setListeningRate(115200);
        window.setPortChooser([model](const QString&, qint32) -> std::optional<PortChoice> {
            return PortChoice{SimulatedCameras::portOf(model), 115200};
        });
        startUs = cameras.clock.nowUs();
        window.OnInitDialog();
    }

    double secondsSinceStart() { return (cameras.clock.nowUs() - startUs) / 1e6; }

    ControlPanel* panel() const
    {
        return window.brevoPanel() ? static_cast<ControlPanel*>(window.brevoPanel()) : window.tovanePanel();
    }

    QString notice() const { return window.findChild<QLabel*>()->text(); }

    // The number of lines the camera reads from now on, counted as it reads them.
    void countLinesFromNowOn(const QString& model, std::function<void(int lines)> onLine)
    {
        cameras.camera(model).setLineObserver([onLine, lines = 0](qint64, const QByteArray& line) mutable {
            if (!line.isEmpty())
                onLine(++lines);
        });
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
    CCameraLinkDlg window{cameras.clock};
    qint64 startUs = 0;
};

} // namespace

TEST_F(FaultsEndToEnd, ALineCutInTheMiddleOfThePanelLoadEndsTheLoadAtOnceWithOneNotice)
{
    int linesBeforeTheCut = 0;
    countLinesFromNowOn("PTM-TW640", [this, &linesBeforeTheCut](int lines) {
        if (lines == 20) {
            cameras.camera("PTM-TW640").setDisconnected(true);
            linesBeforeTheCut = lines;
        }
    });
    start("PTM-TW640");

    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(linesBeforeTheCut, 20);
    EXPECT_LT(secondsSinceStart(), 10.0); // not one time-out per read
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_TRUE(notice().startsWith("The connection on sim:PTM-TW640 was lost.")) << notice().toStdString();
    EXPECT_EQ(panel()->statusLine()->connectionText(),
              "sim:PTM-TW640: connection lost; choose SerialPort in the main window to reconnect");
    EXPECT_TRUE(messages.texts.isEmpty()); // no message box
}

TEST_F(FaultsEndToEnd, ACameraThatFallsSilentCostsThePanelLoadOneTimeOut)
{
    countLinesFromNowOn("PTM-R560CL", [this](int lines) {
        if (lines == 3) // after the two identifications and the tap count
            cameras.camera("PTM-R560CL").setSilent(true);
    });
    start("PTM-R560CL");

    ASSERT_NE(panel(), nullptr);
    EXPECT_LT(secondsSinceStart(), 12.0);
    EXPECT_EQ(cameras.camera("PTM-R560CL").record().commands, 3);
}

TEST_F(FaultsEndToEnd, ASlowCamerasLateAnswersAreNeverTakenForOtherReads)
{
    // Every answer 1.5 s late: each Transact and each identification gives
    // up before its answer arrives, and the late answers come in among the
    // next reads.
    cameras.camera("PTM-TW640").setExtraLatencyUs(1500000);
    start("PTM-TW640");
    ASSERT_NE(panel(), nullptr);

    QStringList wrong;
    for (QLineEdit* edit : panel()->findChildren<QLineEdit*>()) {
        if (edit->text() == "-1")
            wrong << edit->accessibleName();
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(", ").toStdString();
    QStringList widths;
    for (QLabel* label : panel()->findChildren<QLabel*>()) {
        if (label->text().startsWith("Width ="))
            widths << label->text();
    }
    EXPECT_EQ(widths, QStringList{"Width = 640"});
    // Text values wait for their answers like numbers do.
    bool vendorShown = false;
    for (QLabel* label : panel()->findChildren<QLabel*>())
        vendorShown |= label->text() == "Vendor=PK Camera Simulation";
    EXPECT_TRUE(vendorShown);
    // Both identifications name the camera, the second after the answer the
    // first still owed.
    EXPECT_EQ(window.model(), "PTM-TW640");
    EXPECT_EQ(notice(), QString());
}
