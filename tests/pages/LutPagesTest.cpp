// What the Tovane "LUT" page and the Brevo "DSP" page share, on a scripted
// camera that gives answers no simulated camera gives: formats without a
// radio, interpolation points whose answers fail, a point or a build
// refused, a build that is never acknowledged.

#include "PageTesting.h"
#include "brevo/BrevoCLDSPPage.h"
#include "tovane/TovaneLUTPage.h"

#include <QSignalSpy>

namespace {

template <class PageClass>
class LutPages : public PageTest {
protected:
    void openPage()
    {
        page = open<PageClass>();
        camera->forgetLines();
    }
    QLineEdit* point(int k, const char* axis) const
    {
        return findNamed<QLineEdit>(page.get(), QStringLiteral("Point %1 %2").arg(k).arg(QLatin1String(axis)));
    }
    QStringList checkedFormats() const
    {
        return checkedButtons(page.get(), {"Normal", "Reverse", "Binarize", "LinearInterpolation", "UserSetting"});
    }
    void refresh() { findButton(page.get(), QStringLiteral("Refresh"))->click(); }

    std::unique_ptr<Page> page;
};

using PageClasses = ::testing::Types<CTovaneLUTPage, CBrevoCLDSPPage>;
TYPED_TEST_SUITE(LutPages, PageClasses);

TYPED_TEST(LutPages, AFormatWithoutARadioLeavesNoneChecked)
{
    this->camera->set("LUT-FORMAT", 2);
    this->openPage();
    EXPECT_EQ(this->checkedFormats(), QStringList{"Binarize"});
    this->camera->set("LUT-FORMAT", 9);
    this->refresh();
    EXPECT_TRUE(this->checkedFormats().isEmpty());
}

TYPED_TEST(LutPages, APointWhoseAnswerFailsShowsEmptyBoxesNeverOtherLevels)
{
    const QList<QByteArray> levels = {"10 20", "30 40", "50 60", "70 80"};
    for (int k = 1; k <= levels.size(); ++k)
        this->camera->set("LINEAR-INTERPOLATION " + QByteArray::number(k), levels.at(k - 1));
    this->openPage();
    EXPECT_EQ(this->point(2, "Y")->text(), "40");
    EXPECT_EQ(this->point(5, "X")->text(), ""); // answered without a value line
    EXPECT_EQ(this->point(5, "Y")->placeholderText(), "not read");

    this->camera->raw["LINEAR-INTERPOLATION 2"] = "LINEAR-INTERPOLATION 2\rNG\r";
    this->camera->set("LINEAR-INTERPOLATION 3", "55"); // one level where two belong
    this->refresh();
    EXPECT_EQ(this->point(1, "X")->text(), "10");
    EXPECT_EQ(this->point(1, "Y")->text(), "20");
    for (int k : {2, 3}) {
        EXPECT_EQ(this->point(k, "X")->text(), "") << k;
        EXPECT_EQ(this->point(k, "Y")->text(), "") << k;
    }
    EXPECT_EQ(this->point(4, "X")->text(), "70");
}

TYPED_TEST(LutPages, TheBuildWaitsThreeSecondsForItsAnswer)
{
    this->camera->set("LINEAR-INTERPOLATION 1", "100 200");
    this->camera->silent.insert("LINEAR-INTERPOLATION-BUILD");
    this->openPage();
    const qint64 start = this->clock.nowUs();
    findButton(this->page.get(), QStringLiteral("Build"))->click();
    const qint64 waitedMs = (this->clock.nowUs() - start) / 1000;
    EXPECT_GE(waitedMs, 3000);
    EXPECT_LT(waitedMs, 5000);
    EXPECT_EQ(this->sent(), (QByteArrayList{"LINEAR-INTERPOLATION 1 100 200", "LINEAR-INTERPOLATION-BUILD"}));
}

TYPED_TEST(LutPages, ARefusedPointShowsTheCameraLevelsAgainAndEveryFaultIsReported)
{
    for (int k = 1; k <= 5; ++k)
        this->camera->set("LINEAR-INTERPOLATION " + QByteArray::number(k), QByteArray::number(k) + " 40");
    this->camera->set("GET-LAST-ERROR", "Out of range");
    this->camera->raw["LINEAR-INTERPOLATION 2 111 222"] = "LINEAR-INTERPOLATION 2 111 222\rNG\r";
    this->camera->refused.insert("LINEAR-INTERPOLATION-BUILD");
    this->openPage();
    QSignalSpy refused(&this->sendPath, &SendPath::refused);
    QSignalSpy leftOut(&this->sendPath, &SendPath::inputRejected);
    this->point(2, "X")->setText("111");
    this->point(2, "Y")->setText("222");
    this->point(4, "X")->setText("x");

    findButton(this->page.get(), QStringLiteral("Build"))->click();
    EXPECT_EQ(this->sent(), (QByteArrayList{"LINEAR-INTERPOLATION 1 1 40", "LINEAR-INTERPOLATION 2 111 222",
                                            "GET-LAST-ERROR", "LINEAR-INTERPOLATION 2", "LINEAR-INTERPOLATION 3 3 40",
                                            "LINEAR-INTERPOLATION 5 5 40", "LINEAR-INTERPOLATION-BUILD",
                                            "GET-LAST-ERROR"}));
    EXPECT_EQ(this->point(2, "X")->text(), "2");
    EXPECT_EQ(this->point(2, "Y")->text(), "40");
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused.at(0), (QVariantList{QByteArray("LINEAR-INTERPOLATION 2 111 222"), QString("Out of range")}));
    EXPECT_EQ(refused.at(1).at(0).toByteArray(), "LINEAR-INTERPOLATION-BUILD");
    // The point left out keeps what was typed, marked, and is named.
    EXPECT_EQ(this->point(4, "X")->text(), "x");
    EXPECT_TRUE(this->point(4, "X")->property("invalidInput").toBool());
    ASSERT_EQ(leftOut.size(), 1);
    EXPECT_TRUE(leftOut.at(0).at(0).toString().contains("Point 4")) << leftOut.at(0).at(0).toString().toStdString();
    // Files of settings keep the camera's levels, never what is typed.
    EXPECT_EQ(this->pageSettings.back()->find("LINEAR-INTERPOLATION 4")->fileLine(), "LINEAR-INTERPOLATION 4 4 40");
}

} // namespace
