// The Brevo "AutoArea" page against the simulated PTM-R290CL and the mono
// PTM-R140ML, which has no white balance: what it reads, what it shows, what
// each control sends.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/AreaSketch.h"
#include "brevo/BrevoCLAutoArea.h"
#include "brevo/BrevoCatalogue.h"
#include "brevo/BrevoGeneralSettings.h"

namespace {

const QByteArrayList kAwbLoad = {"AWB-FRAME-HIGHLIGHT", "AWB-WIDTH", "AWB-HEIGHT", "AWB-OFFSETX", "AWB-OFFSETY"};
const QByteArrayList kLoad = QByteArrayList{"AGC-FRAME-HIGHLIGHT", "AGC-WIDTH", "AGC-HEIGHT", "AGC-OFFSETX", "AGC-OFFSETY"}
                             + kAwbLoad
                             + QByteArrayList{"AGC-UPPER", "AGC-LOWER", "AGC-SPEED", "AE-UPPER", "AE-LOWER", "AE-SPEED"};

const char* const kAwbEdits[] = {"AWB OffsetX", "AWB Width", "AWB OffsetY", "AWB Height"};

struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QSlider* speed(const char* name) const
    {
        return findNamed<QSlider>(page, QString::fromLatin1(name) + QStringLiteral(" Speed slider"));
    }
    QAbstractButton* highlight(const char* area) const
    {
        return findNamed<QAbstractButton>(page, QString::fromLatin1(area) + QStringLiteral(" Highlight"));
    }
};

class BrevoCLAutoArea : public SimPageTest {
protected:
    BrevoCLAutoArea() { useModel(QStringLiteral("PTM-R290CL")); }

    void openPage()
    {
        page = open<CBrevoCLAutoArea>();
        ui.page = page.get();
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(BrevoCLAutoArea, OpeningAndRefreshReadInTheFixedOrder)
{
    page = open<CBrevoCLAutoArea>();
    EXPECT_EQ(sentSinceLastLook(), kLoad);
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(sent(), kLoad);
}

TEST_F(BrevoCLAutoArea, ShowsWhatTheCameraReports)
{
    for (const char* line : {"AGC-FRAME-HIGHLIGHT 1", "AGC-OFFSETX 0", "AGC-WIDTH 1936", "AWB-OFFSETY 100",
                             "AWB-HEIGHT 64", "AGC-LOWER 20", "AGC-SPEED 7", "AE-UPPER 50000", "AE-SPEED 256"})
        given(line);
    openPage();

    EXPECT_TRUE(ui.highlight("AE/AGC")->isChecked());
    EXPECT_FALSE(ui.highlight("AWB")->isChecked());
    EXPECT_TRUE(ui.highlight("AWB")->isEnabled());
    const std::pair<const char*, const char*> shown[] = {
        {"AE/AGC OffsetX", "0"}, {"AE/AGC Width", "1936"},   {"AE/AGC OffsetY", "256"}, {"AE/AGC Height", "512"},
        {"AWB OffsetX", "256"},  {"AWB Width", "512"},       {"AWB OffsetY", "100"},    {"AWB Height", "64"},
        {"AGC Lower Limit", "20"}, {"AGC Upper Limit", "502"}, {"AE Lower Limit", "100"}, {"AE Upper Limit", "50000"}};
    for (const auto& [name, text] : shown) {
        EXPECT_EQ(ui.edit(name)->text(), QString::fromLatin1(text)) << name;
        EXPECT_TRUE(ui.edit(name)->isEnabled()) << name;
    }
    EXPECT_EQ(ui.speed("AGC")->value(), 7);
    EXPECT_EQ(ui.speed("AE")->value(), 256);
    EXPECT_EQ(ui.speed("AE")->minimum(), CBrevoCLAutoArea::kSpeedMin);
    EXPECT_EQ(ui.speed("AE")->maximum(), CBrevoCLAutoArea::kSpeedMax);
}

TEST_F(BrevoCLAutoArea, AMonoCameraShowsTheWhiteBalanceAreaAsNotAvailableWithoutExtraWaiting)
{
    const qint64 colourMs = msTakenBy([this] { openPage(); });
    useModel(QStringLiteral("PTM-R140ML"));
    const qint64 monoMs = msTakenBy([this] { openPage(); });

    EXPECT_FALSE(ui.highlight("AWB")->isEnabled());
    EXPECT_FALSE(ui.highlight("AWB")->isChecked());
    for (const char* name : kAwbEdits) {
        EXPECT_EQ(ui.edit(name)->text(), QStringLiteral("N/A")) << name;
        EXPECT_FALSE(ui.edit(name)->isEnabled()) << name;
    }
    EXPECT_EQ(ui.edit("AE/AGC Width")->text(), QStringLiteral("512"));
    EXPECT_TRUE(ui.highlight("AE/AGC")->isEnabled());
    EXPECT_LE(monoMs, colourMs);
    findButton(page.get(), QStringLiteral("Refresh"))->click();
    EXPECT_EQ(sent(), kLoad);
}

TEST_F(BrevoCLAutoArea, ARefusedOffsetYShowsNotAvailableAlone)
{
    camera->refuseCommand(QStringLiteral("AWB-OFFSETY"));
    openPage();

    EXPECT_EQ(ui.edit("AWB OffsetY")->text(), QStringLiteral("N/A"));
    EXPECT_FALSE(ui.edit("AWB OffsetY")->isEnabled());
    for (const char* name : {"AWB OffsetX", "AWB Width", "AWB Height"}) {
        EXPECT_NE(ui.edit(name)->text(), QStringLiteral("N/A")) << name;
        EXPECT_TRUE(ui.edit(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(ui.highlight("AWB")->isEnabled());
}

TEST_F(BrevoCLAutoArea, EnterInEachEditSendsItsOwnCommand)
{
    openPage();
    const std::pair<const char*, const char*> edits[] = {
        {"AE/AGC OffsetX", "AGC-OFFSETX 8"}, {"AE/AGC Width", "AGC-WIDTH 640"},  {"AE/AGC OffsetY", "AGC-OFFSETY 16"},
        {"AE/AGC Height", "AGC-HEIGHT 480"}, {"AWB OffsetX", "AWB-OFFSETX 32"}, {"AWB Width", "AWB-WIDTH 320"},
        {"AWB OffsetY", "AWB-OFFSETY 24"},   {"AWB Height", "AWB-HEIGHT 240"},  {"AGC Lower Limit", "AGC-LOWER 10"},
        {"AGC Upper Limit", "AGC-UPPER 400"}, {"AE Lower Limit", "AE-LOWER 200"}, {"AE Upper Limit", "AE-UPPER 90000"}};
    QByteArrayList expected;
    for (const auto& [name, line] : edits) {
        const QByteArray text(line);
        typeAndEnter(ui.edit(name), QString::fromLatin1(text.mid(text.lastIndexOf(' ') + 1)));
        expected << text;
    }
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(reported("AGC-WIDTH"), 640);
    EXPECT_EQ(reported("AWB-HEIGHT"), 240);
    EXPECT_EQ(reported("AE-UPPER"), 90000);
}

// Where a sketch draws its area, as parts of the image's width and height.
QRectF drawnPart(const AreaSketch* sketch)
{
    const QRectF image = sketch->imageRect();
    const QRectF area = sketch->areaRect();
    return QRectF((area.left() - image.left()) / image.width(), (area.top() - image.top()) / image.height(),
                  area.width() / image.width(), area.height() / image.height());
}

void expectNear(const QRectF& actual, const QRectF& expected, const char* what)
{
    for (auto [a, e] : {std::pair{actual.left(), expected.left()}, {actual.top(), expected.top()},
                        {actual.width(), expected.width()}, {actual.height(), expected.height()}})
        EXPECT_NEAR(a, e, 0.02) << what;
}

TEST_F(BrevoCLAutoArea, EachAreaIsSketchedToScaleOfTheImageOnTheGeneralPageAndFollowsTheValues)
{
    for (const char* line : {"WIDTH 1600", "HEIGHT 800", "AGC-OFFSETX 400", "AGC-OFFSETY 200", "AGC-WIDTH 800",
                             "AGC-HEIGHT 400", "AWB-OFFSETX 0", "AWB-OFFSETY 0", "AWB-WIDTH 1600", "AWB-HEIGHT 200"})
        given(line);
    const std::unique_ptr<Catalogue> catalogue = brevoCatalogue(connection, {});
    auto& general = static_cast<BrevoGeneralSettings&>(*catalogue->page(QStringLiteral("General")));
    general.load();
    page.reset(pageEntry<CBrevoCLAutoArea>(QStringLiteral("AutoArea"))
                   .create({sendPath, *catalogue->page(QStringLiteral("AutoArea"))}, nullptr));
    ui.page = page.get();
    const auto sketch = [this](const char* area) {
        auto* drawn = findNamed<AreaSketch>(page.get(), QString::fromLatin1(area) + QStringLiteral(" area sketch"));
        drawn->resize(200, 200);
        return drawn;
    };
    // A 2:1 image in a square: full width, half the height.
    EXPECT_NEAR(sketch("AWB")->imageRect().height() * 2, sketch("AWB")->imageRect().width(), 1.0);
    expectNear(drawnPart(sketch("AE/AGC")), {0.25, 0.25, 0.5, 0.5}, "read");
    expectNear(drawnPart(sketch("AWB")), {0, 0, 1, 0.25}, "read");

    typeAndEnter(ui.edit("AE/AGC Width"), QStringLiteral("1200"));
    expectNear(drawnPart(sketch("AE/AGC")), {0.25, 0.25, 0.75, 0.5}, "typed");
    sendPath.set(*general.width, 800); // the image narrowed on the General page
    expectNear(drawnPart(sketch("AE/AGC")), {0.5, 0.25, 0.5, 0.5}, "beyond the image");
    EXPECT_NE(sketch("AE/AGC")->accessibleDescription().indexOf("1200 × 400 at 400, 200 in an image of 800 × 800"), -1)
        << sketch("AE/AGC")->accessibleDescription().toStdString();
    page.reset(); // before the settings it shows
}

TEST_F(BrevoCLAutoArea, WithoutTheImageSizeAnAreaIsSketchedToItsFarCornerAndAMissingOneNotAtAll)
{
    for (const char* line : {"AGC-OFFSETX 400", "AGC-OFFSETY 200", "AGC-WIDTH 800", "AGC-HEIGHT 400"})
        given(line);
    camera->refuseCommand(QStringLiteral("AWB-WIDTH"));
    openPage();
    auto* gain = findNamed<AreaSketch>(page.get(), QStringLiteral("AE/AGC area sketch"));
    auto* balance = findNamed<AreaSketch>(page.get(), QStringLiteral("AWB area sketch"));
    gain->resize(300, 300);
    expectNear(drawnPart(gain), {1.0 / 3, 1.0 / 3, 2.0 / 3, 2.0 / 3}, "far corner");
    EXPECT_TRUE(balance->areaRect().isEmpty());
    EXPECT_EQ(balance->accessibleDescription(), QStringLiteral("area N/A"));
}

TEST_F(BrevoCLAutoArea, HighlightsSendTheirStates)
{
    openPage();
    ui.highlight("AWB")->click();
    ui.highlight("AE/AGC")->click();
    ui.highlight("AE/AGC")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"AWB-FRAME-HIGHLIGHT 1", "AGC-FRAME-HIGHLIGHT 1", "AGC-FRAME-HIGHLIGHT 0"}));
    EXPECT_EQ(reported("AWB-FRAME-HIGHLIGHT"), 1);
}

TEST_F(BrevoCLAutoArea, SpeedSlidersSendOnlyWhileTheThumbIsDragged)
{
    openPage();
    drag(ui.speed("AE"), {10, 20, 30});
    drag(ui.speed("AGC"), {200});
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"AE-SPEED 10", "AE-SPEED 20", "AE-SPEED 30", "AGC-SPEED 200"}));
    EXPECT_EQ(reported("AE-SPEED"), 30);

    // Keys and clicks in the channel move the slider and send nothing.
    pressKey(ui.speed("AE"), Qt::Key_Right);
    pressKey(ui.speed("AE"), Qt::Key_End);
    ui.speed("AGC")->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(ui.speed("AE")->value(), CBrevoCLAutoArea::kSpeedMax);
    EXPECT_LT(ui.speed("AGC")->value(), 200);
}

TEST_F(BrevoCLAutoArea, TextThatIsNotAWholeNumberSendsNothingAndStays)
{
    openPage();
    for (const char* name : {"AE/AGC Width", "AWB OffsetY", "AE Upper Limit"}) {
        for (const char* typed : {"abc", "", "64.5", "-99999999999"}) {
            typeAndEnter(ui.edit(name), QString::fromLatin1(typed));
            EXPECT_EQ(ui.edit(name)->text(), QString::fromLatin1(typed)) << name;
        }
    }
    EXPECT_TRUE(sent().isEmpty());
}

} // namespace
