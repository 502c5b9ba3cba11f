// What the Tovane "LUT" page and the Brevo "DSP" page share, on a scripted
// camera that gives answers no simulated camera gives: formats without a
// radio, interpolation points whose answers fail, a build that is never
// acknowledged.

#include "PageTesting.h"
#include "brevo/BrevoCLDSPPage.h"
#include "tovane/TovaneLUTPage.h"

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

} // namespace
