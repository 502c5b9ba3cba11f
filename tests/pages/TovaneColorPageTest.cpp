// The Tovane "Color" page against the simulated PTM-TW640 and its mono
// sibling PTM-TW640M, which has no white balance: what it reads, what it
// shows, what each control sends. Values the simulated camera refuses come
// from a scripted camera at the end.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneColorPage.h"

#include <QCheckBox>

namespace {

// The area sliders' ranges, taken once when the page opens.
const QByteArrayList kRanges = {"HELP AWB-WIDTH", "HELP AWB-HEIGHT", "HELP AWB-OFFSETX", "HELP AWB-OFFSETY"};
// What "Refresh" reads, in its order.
const QByteArrayList kLoad = {"AWB",         "RGAIN-FINE", "GGAIN-FINE",  "BGAIN-FINE", "AWB-FRAME-HIGHLIGHT",
                              "AWB-WIDTH",   "AWB-HEIGHT", "AWB-OFFSETX", "AWB-OFFSETY"};

const char* const kEdits[] = {"RGain", "GGain", "BGain", "OffsetX", "Width", "OffsetY", "Height"};

struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QSlider* slider(const char* name) const
    {
        return findNamed<QSlider>(page, QString::fromLatin1(name) + QStringLiteral(" slider"));
    }
    QComboBox* mode() const { return findNamed<QComboBox>(page, QStringLiteral("AutoWhiteBalance")); }
    QAbstractButton* highlight() const { return findButton(page, QStringLiteral("AWB Detect Area HighLight")); }
};

class TovaneColorPage : public SimPageTest {
protected:
    TovaneColorPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage()
    {
        page = open<CTovaneColorPage>();
        ui.page = page.get();
        camera->clearRecord();
    }


    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(TovaneColorPage, OpeningTakesTheAreaRangesThenReadsInItsFixedOrderAndRefreshReadsAgain)
{
    page = open<CTovaneColorPage>();
    ui.page = page.get();
    EXPECT_EQ(sentSinceLastLook(), kRanges + kLoad);

    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(sent(), kLoad);
}

TEST_F(TovaneColorPage, ShowsWhatTheCameraReports)
{
    // With the balance off the camera keeps the gains it is given.
    for (const char* line : {"RGAIN-FINE 1024", "GGAIN-FINE 300", "BGAIN-FINE 4095", "AWB-FRAME-HIGHLIGHT 1",
                             "AWB-OFFSETX 0", "AWB-WIDTH 640", "AWB-OFFSETY 8", "AWB-HEIGHT 400"})
        given(line);
    openPage();

    EXPECT_EQ(ui.mode()->currentText(), QStringLiteral("0:OFF"));
    EXPECT_EQ(ui.edit("RGain")->text(), QStringLiteral("1024"));
    EXPECT_EQ(ui.slider("RGain")->value(), 1024);
    EXPECT_EQ(ui.slider("GGain")->value(), 300);
    EXPECT_EQ(ui.slider("BGain")->value(), 4095);
    EXPECT_TRUE(ui.highlight()->isChecked());
    // The whole sensor width fits the width slider.
    EXPECT_EQ(ui.edit("Width")->text(), QStringLiteral("640"));
    EXPECT_EQ(ui.slider("Width")->value(), 640);
    EXPECT_EQ(ui.edit("Height")->text(), QStringLiteral("400"));
    EXPECT_EQ(ui.slider("Height")->value(), 400);
    EXPECT_EQ(ui.slider("OffsetY")->value(), 8);
    for (const char* name : kEdits) {
        EXPECT_TRUE(ui.edit(name)->isEnabled()) << name;
        EXPECT_TRUE(ui.slider(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(ui.mode()->isEnabled());
    EXPECT_TRUE(ui.highlight()->isEnabled());
}

TEST_F(TovaneColorPage, TheAreaSlidersTakeTheirRangesFromTheCameraAndTheGainSlidersAreFixed)
{
    openPage();
    const std::tuple<const char*, int, int> ranges[] = {{"OffsetX", 0, 624}, {"Width", 16, 640}, {"OffsetY", 0, 464},
                                                        {"Height", 16, 480}, {"RGain", 256, 4095}, {"GGain", 256, 4095},
                                                        {"BGain", 256, 4095}};
    for (const auto& [name, min, max] : ranges) {
        EXPECT_EQ(ui.slider(name)->minimum(), min) << name;
        EXPECT_EQ(ui.slider(name)->maximum(), max) << name;
    }
}

TEST_F(TovaneColorPage, AMonoCameraShowsEverythingAsNotAvailableAndGreyedOutWithoutExtraWaiting)
{
    const qint64 colourMs = msTakenBy([this] { openPage(); });
    useModel(QStringLiteral("PTM-TW640M"));
    const qint64 monoMs = msTakenBy([this] { openPage(); });

    for (const char* name : kEdits) {
        EXPECT_EQ(ui.edit(name)->text(), QStringLiteral("N/A")) << name;
        EXPECT_FALSE(ui.edit(name)->isEnabled()) << name;
        EXPECT_FALSE(ui.slider(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(ui.mode()->isEnabled());
    EXPECT_FALSE(ui.highlight()->isEnabled());
    EXPECT_FALSE(ui.highlight()->isChecked());
    // Without a range from the camera the area sliders keep 0 to 100.
    EXPECT_EQ(ui.slider("Width")->minimum(), 0);
    EXPECT_EQ(ui.slider("Width")->maximum(), 100);
    // Each refusal is one short answer: no longer than the colour camera's values.
    EXPECT_LE(monoMs, colourMs);

    // Refresh asks the same questions once each.
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(sent(), kLoad);
}

TEST_F(TovaneColorPage, GainSlidersStreamWithoutWaitingAndTheirEditsFollow)
{
    openPage();
    const qint64 start = clock.nowUs();
    drag(ui.slider("RGain"), {300, 420});
    drag(ui.slider("BGain"), {1000});
    EXPECT_EQ(clock.nowUs(), start);
    EXPECT_EQ(ui.edit("RGain")->text(), QStringLiteral("420"));
    EXPECT_EQ(ui.edit("BGain")->text(), QStringLiteral("1000"));

    // Every notification sends; the end of a drag sends its position once more.
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"RGAIN-FINE 300", "RGAIN-FINE 420", "RGAIN-FINE 420", "BGAIN-FINE 1000",
                                      "BGAIN-FINE 1000"}));
    EXPECT_EQ(reported("RGAIN-FINE"), 420);
}

TEST_F(TovaneColorPage, EnterInAGainEditSendsAndMovesItsSlider)
{
    openPage();
    typeAndEnter(ui.edit("GGain"), QStringLiteral("2048"));
    EXPECT_EQ(sent(), QByteArrayList{"GGAIN-FINE 2048"});
    EXPECT_EQ(ui.slider("GGain")->value(), 2048);
    EXPECT_EQ(reported("GGAIN-FINE"), 2048);
}

TEST_F(TovaneColorPage, AreaSlidersWaitForEachAnswerAndAreaEditsMoveTheirSlidersOnceAccepted)
{
    openPage();
    drag(ui.slider("Width"), {200, 240});
    EXPECT_EQ(ui.edit("Width")->text(), QStringLiteral("240"));
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AWB-WIDTH 200", "AWB-WIDTH 240", "AWB-WIDTH 240"}));

    typeAndEnter(ui.edit("OffsetX"), QStringLiteral("400"));
    typeAndEnter(ui.edit("Height"), QStringLiteral("64"));
    EXPECT_EQ(sent(), (QByteArrayList{"AWB-OFFSETX 400", "AWB-HEIGHT 64"}));
    EXPECT_EQ(ui.slider("OffsetX")->value(), 400);
    EXPECT_EQ(ui.slider("Height")->value(), 64);
    EXPECT_EQ(reported("AWB-WIDTH"), 240);
    EXPECT_EQ(reported("AWB-OFFSETX"), 400);
}

TEST_F(TovaneColorPage, TheModeAndTheHighlightAreSentWithoutWaiting)
{
    openPage();
    const qint64 start = clock.nowUs();
    choose(ui.mode(), QStringLiteral("1:Once"));
    ui.highlight()->click();
    EXPECT_EQ(clock.nowUs(), start);
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"AWB 1", "AWB-FRAME-HIGHLIGHT 1"}));
    EXPECT_EQ(reported("AWB-FRAME-HIGHLIGHT"), 1);
}

TEST_F(TovaneColorPage, TextThatIsNotAWholeNumberSendsNothingAndStays)
{
    openPage();
    for (const char* name : {"RGain", "Width"}) {
        for (const char* typed : {"abc", "", "12.5", "99999999999"}) {
            typeAndEnter(ui.edit(name), QString::fromLatin1(typed));
            EXPECT_EQ(ui.edit(name)->text(), QString::fromLatin1(typed)) << name;
        }
    }
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(ui.slider("RGain")->value(), 256);
}

// A camera that takes any value, and one that refuses a single word.
class TovaneColorPageScripted : public PageTest {
protected:
    std::unique_ptr<Page> page;
};

TEST_F(TovaneColorPageScripted, AGainBeyondTheSliderIsSentAndTheSliderStopsAtItsEnd)
{
    camera->set("RGAIN-FINE", 1024);
    page = open<CTovaneColorPage>();
    const Controls ui{page.get()};
    EXPECT_EQ(ui.slider("RGain")->value(), 1024);
    camera->forgetLines();

    typeAndEnter(ui.edit("RGain"), QStringLiteral("5000"));
    EXPECT_EQ(sent(), QByteArrayList{"RGAIN-FINE 5000"});
    EXPECT_EQ(ui.slider("RGain")->value(), 4095);
    EXPECT_EQ(ui.edit("RGain")->text(), QStringLiteral("5000"));
}

TEST_F(TovaneColorPageScripted, ARefusedOffsetYShowsNotAvailableAlone)
{
    for (const char* word : {"AWB", "RGAIN-FINE", "GGAIN-FINE", "BGAIN-FINE", "AWB-FRAME-HIGHLIGHT", "AWB-WIDTH",
                             "AWB-HEIGHT", "AWB-OFFSETX"})
        camera->set(word, 300);
    camera->refused << "AWB-OFFSETY";
    page = open<CTovaneColorPage>();
    const Controls ui{page.get()};

    EXPECT_EQ(ui.edit("OffsetY")->text(), QStringLiteral("N/A"));
    EXPECT_FALSE(ui.edit("OffsetY")->isEnabled());
    for (const char* name : {"RGain", "GGain", "BGain", "OffsetX", "Width", "Height"}) {
        EXPECT_EQ(ui.edit(name)->text(), QStringLiteral("300")) << name;
        EXPECT_TRUE(ui.edit(name)->isEnabled()) << name;
    }
}

} // namespace
