// The Tovane "LUT" page against the simulated PTM-TW640 and PTM-TW640M: its
// load order, the format radios, the threshold, the interpolation points with
// "Build", the wide LUT with its gamma presets, and typed text the camera
// must never see. LutPagesTest.cpp has what both LUT pages share.

#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneLUTPage.h"

#include <QRadioButton>

namespace {

QByteArrayList numbered(const QByteArray& word, int first, int last)
{
    QByteArrayList lines;
    for (int k = first; k <= last; ++k)
        lines << word + ' ' + QByteArray::number(k);
    return lines;
}

const QByteArrayList kLoadOrder = QByteArrayList{"LUT-FORMAT", "BINARIZATION"}
                                  + numbered("LINEAR-INTERPOLATION", 1, 5) + numbered("WIDE-LUT", 0, 16);

const QStringList kFormats = {"Normal",      "Reverse",    "Binarize", "LinearInterpolation",
                              "UserSetting", "WideLUT(16-bit)"};

struct Controls {
    QWidget* page;
    QLineEdit* edit(const QString& name) const { return findNamed<QLineEdit>(page, name); }
    QAbstractButton* button(const QString& text) const { return findButton(page, text); }
    QLineEdit* point(int k, const char* axis) const
    {
        return edit(QStringLiteral("Point %1 %2").arg(k).arg(QLatin1String(axis)));
    }
    QLineEdit* wide(int k) const { return edit(QStringLiteral("WideLUT %1").arg(k)); }
    QStringList checkedFormats() const { return checkedButtons(page, kFormats); }
};

class TovaneLUTPage : public SimPageTest {
protected:
    TovaneLUTPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage()
    {
        page = open<CTovaneLUTPage>();
        ui.page = page.get();
        camera->clearRecord();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(TovaneLUTPage, OpeningAndRefreshReadEveryValueInTheirFixedOrder)
{
    for (const char* model : {"PTM-TW640", "PTM-TW640M"}) {
        useModel(QString::fromLatin1(model));
        page = open<CTovaneLUTPage>();
        EXPECT_EQ(sentSinceLastLook(), kLoadOrder) << model;
        findButton(page.get(), QStringLiteral("Refresh"))->click();
        EXPECT_EQ(sent(), kLoadOrder) << model;
    }
}

TEST_F(TovaneLUTPage, ShowsWhatTheCameraReports)
{
    for (const char* line : {"LUT-FORMAT 4", "BINARIZATION 1000", "LINEAR-INTERPOLATION 2 100 300", "WIDE-LUT 16 60000"})
        given(line);
    openPage();
    EXPECT_EQ(ui.checkedFormats(), QStringList{"UserSetting"});
    EXPECT_EQ(ui.edit("Threshold")->text(), "1000");
    EXPECT_EQ(ui.point(1, "X")->text(), "0");
    EXPECT_EQ(ui.point(2, "X")->text(), "100");
    EXPECT_EQ(ui.point(2, "Y")->text(), "300");
    EXPECT_EQ(ui.point(5, "Y")->text(), "4095");
    EXPECT_EQ(ui.wide(1)->text(), "4096");
    EXPECT_EQ(ui.wide(16)->text(), "60000");
}

TEST_F(TovaneLUTPage, EachFormatIsWrittenWithoutWaitingAndTakesEffect)
{
    openPage();
    for (int format = 0; format < kFormats.size(); ++format) {
        const qint64 before = clock.nowUs();
        ui.button(kFormats.at(format))->click();
        EXPECT_EQ(clock.nowUs(), before) << format;
        settle();
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"LUT-FORMAT " + QByteArray::number(format)});
        EXPECT_EQ(reported("LUT-FORMAT"), format);
        EXPECT_EQ(ui.checkedFormats(), QStringList{kFormats.at(format)});
    }
}

TEST_F(TovaneLUTPage, TheThresholdGoesOutOnlyAsAWholeNumberFrom0To4095)
{
    openPage();
    typeAndEnter(ui.edit("Threshold"), "4095");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"BINARIZATION 4095"});
    typeAndEnter(ui.edit("Threshold"), "0");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"BINARIZATION 0"});
    for (const char* typed : {"4096", "-1", "", "abc", "12abc", "99999999999"}) {
        typeAndEnter(ui.edit("Threshold"), QString::fromLatin1(typed));
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << typed;
        EXPECT_EQ(ui.edit("Threshold")->text(), QString::fromLatin1(typed));
    }
    EXPECT_EQ(reported("BINARIZATION"), 0);
}

TEST_F(TovaneLUTPage, BuildSendsTheValidPointsInOrderThenBuilds)
{
    openPage();
    const QList<std::pair<QString, QString>> points = {{"100", "200"}, {"5000", "10"}, {"300", "400"}, {"", "7"}, {"x", "9"}};
    for (int k = 1; k <= 5; ++k) {
        ui.point(k, "X")->setText(points.at(k - 1).first);
        ui.point(k, "Y")->setText(points.at(k - 1).second);
    }
    ui.button("Build")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"LINEAR-INTERPOLATION 1 100 200", "LINEAR-INTERPOLATION 3 300 400",
                                      "LINEAR-INTERPOLATION-BUILD"}));
    EXPECT_EQ(ui.point(2, "X")->text(), "5000"); // what was typed stays
    EXPECT_EQ(ui.checkedFormats(), QStringList{"Normal"}); // building does not select the format

    // Enter in a point sends nothing: points go out with "Build" only.
    camera->clearRecord();
    typeAndEnter(ui.point(1, "X"), "50");
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(TovaneLUTPage, EnterInAWideLutPointSendsThatPointAlone)
{
    openPage();
    typeAndEnter(ui.wide(3), "12345");
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"WIDE-LUT 3 12345"});
    EXPECT_EQ(reported("WIDE-LUT 3"), 12345);
    for (const char* typed : {"65536", "-1", "", "abc"}) {
        typeAndEnter(ui.wide(0), QString::fromLatin1(typed));
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << typed;
    }
}

class GammaPresets : public TovaneLUTPage, public ::testing::WithParamInterface<int> {};

TEST_P(GammaPresets, FillTheSeventeenPointsAndSendThemPointZeroFirst)
{
    const char* const captions[] = {"Gamma1", "Gamma0.7", "Gamma0.45"};
    // The presets as tabled: points 0 to 16.
    const QList<QList<int>> tables = {
        {0, 4096, 8192, 12288, 16384, 20480, 24576, 28672, 32768, 36864, 40960, 45056, 49152, 53248, 57344, 61440, 65535},
        {0, 9410, 15287, 20304, 24834, 29032, 32984, 36742, 40342, 43809, 47162, 50416, 53582, 56670, 59687, 62641, 65535},
        {0, 18820, 25709, 30855, 35120, 38830, 42150, 45177, 47975, 50587, 53043, 55378, 57578, 59690, 61714, 63660, 65535}};
    const QList<int>& table = tables.at(GetParam());
    openPage();
    ui.button(QString::fromLatin1(captions[GetParam()]))->click();
    QByteArrayList expected;
    for (int k = 0; k < 17; ++k) {
        expected << "WIDE-LUT " + QByteArray::number(k) + ' ' + QByteArray::number(table.at(k));
        EXPECT_EQ(ui.wide(k)->text(), QString::number(table.at(k))) << k;
    }
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(reported("WIDE-LUT 9"), table.at(9));
}

INSTANTIATE_TEST_SUITE_P(EachPreset, GammaPresets, ::testing::Values(0, 1, 2));

} // namespace
