// A declared load routine: reads in the declared order, shows the answers and
// the failure values, and never sends a setting.

#include "Controls.h"
#include "PageTesting.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class LoadPlanTest : public PageTest {
protected:
    LoadPlanTest()
    {
        page = std::make_unique<Page>(PageContext{connection});
        vendor = new QLabel(QStringLiteral("Vendor"), page.get());
        width = new QLabel(page.get());
        rate = makeEdit(page.get());
        box = new QCheckBox(QStringLiteral("Box"), page.get());
        binning = new QCheckBox(QStringLiteral("Binning"), page.get());
        list = makeList(page.get(), {"Default", "1", "2"});
        choices = makeList(page.get(), {"template"});
        chart = new RadioGroup(page.get(), {{QStringLiteral("OFF"), 0}, {QStringLiteral("Gray"), 1}});
        slider = makeSlider(page.get(), 0, 10);

        plan.text("VENDOR", vendor, QStringLiteral("Vendor="))
            .number("WIDTH", width, printedAs("Width = %d"))
            .number("FRAMERATE", rate, dividedBy(1000000, "%f"))
            .check("REVERSEX", box)
            .index("USERSET-DEFAULT", list)
            .optional("HBIN", binning, [this](int bin) { showCheck(binning, bin - 1); })
            .radios("TESTCHART", chart)
            .choices("TRG-SRC", choices)
            .range("GAIN-FINE", slider)
            .step([this] { steps << "custom"; });
    }

    void giveEveryAnswer()
    {
        camera->set("VENDOR", "PTM");
        camera->set("WIDTH", 640);
        camera->set("FRAMERATE", 29970000);
        camera->set("REVERSEX", 1);
        camera->set("USERSET-DEFAULT", 2);
        camera->set("HBIN", 2);
        camera->set("TESTCHART", 1);
        camera->choices["TRG-SRC"] = {" 0(Soft)", " 7(Pin 7)"};
        camera->ranges["GAIN-FINE"] = " min:-35, max:480, step:1";
    }

    std::unique_ptr<Page> page;
    QLabel* vendor;
    QLabel* width;
    QLineEdit* rate;
    QCheckBox* box;
    QCheckBox* binning;
    QComboBox* list;
    QComboBox* choices;
    RadioGroup* chart;
    QSlider* slider;
    QStringList steps;
    LoadPlan plan{connection};
};

TEST_F(LoadPlanTest, ReadsInTheDeclaredOrderAndShowsTheAnswers)
{
    giveEveryAnswer();

    plan.run();

    EXPECT_EQ(sent(), (QByteArrayList{"VENDOR", "WIDTH", "FRAMERATE", "REVERSEX", "USERSET-DEFAULT", "HBIN", "TESTCHART",
                                      "HELP TRG-SRC", "HELP GAIN-FINE"}));
    EXPECT_EQ(vendor->text(), QStringLiteral("Vendor=PTM"));
    EXPECT_EQ(width->text(), QStringLiteral("Width = 640"));
    EXPECT_EQ(rate->text(), QStringLiteral("29.970000"));
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_TRUE(binning->isEnabled());
    EXPECT_TRUE(binning->isChecked());
    EXPECT_TRUE(chart->button(1)->isChecked());
    EXPECT_EQ(choices->count(), 2);
    EXPECT_EQ(choices->itemText(1), QStringLiteral(" 7(Pin 7)"));
    EXPECT_EQ(slider->minimum(), -35);
    EXPECT_EQ(slider->maximum(), 480);
    EXPECT_EQ(steps, QStringList{"custom"});
}

TEST_F(LoadPlanTest, RefusedReadsShowTheFailureValues)
{
    // A refusal is two lines, echo and NG: integers read 0, texts nothing.
    for (const char* word : {"VENDOR", "WIDTH", "FRAMERATE", "REVERSEX", "USERSET-DEFAULT", "HBIN", "TESTCHART", "HELP"})
        camera->refused << word;
    box->setChecked(true);
    chart->show(1);

    plan.run();

    EXPECT_EQ(vendor->text(), QStringLiteral("Vendor="));
    EXPECT_EQ(width->text(), QStringLiteral("Width = 0"));
    EXPECT_EQ(rate->text(), QStringLiteral("0.000000"));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_FALSE(binning->isEnabled());
    EXPECT_TRUE(chart->button(0)->isChecked());
    EXPECT_EQ(choices->count(), 0);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 0);
}

TEST_F(LoadPlanTest, AnswersThatDoNotCheckOutShowMinusOne)
{
    camera->raw["WIDTH"] = "WIDTX\r640\rOK\r";
    camera->raw["FRAMERATE"] = "FRAMERATE\r30000000\rNG\r";
    camera->raw["USERSET-DEFAULT"] = "USERSET-DEFAULT\r1\rERROR\r";
    camera->raw["TESTCHART"] = "TESTCHART\r1\rok\r";
    box->setChecked(true);
    chart->show(1);

    plan.run();

    EXPECT_EQ(width->text(), QStringLiteral("Width = -1"));
    EXPECT_EQ(rate->text(), QStringLiteral("-0.000001"));
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(chart->checkedValue(), -1);
}

TEST_F(LoadPlanTest, AnAnswerWithoutAValueLineReadsZero)
{
    // The camera answers echo and OK only.
    plan.run();
    EXPECT_EQ(width->text(), QStringLiteral("Width = 0"));
    EXPECT_FALSE(binning->isEnabled());
}

TEST_F(LoadPlanTest, AValueSelectsTheChoiceBeginningWithItsFormattedText)
{
    camera->choices["TRG-SRC"] = {" 1(Pin 7)", " 17(CC1)", " 7(Pin 10)"};
    camera->set("TRG-SRC", 7);
    camera->set("SP-TRG-MODE ", 2);
    QComboBox* mode = makeList(page.get(), {"0:OFF", "1:Bulk", "2:Sequencial"});
    LoadPlan sources(connection);
    sources.choices("TRG-SRC", choices).prefix("TRG-SRC", choices, " %d(").prefix("SP-TRG-MODE ", mode, "%d:");

    sources.run();

    EXPECT_EQ(choices->currentText(), QStringLiteral(" 7(Pin 10)"));
    EXPECT_EQ(mode->currentIndex(), 2);
    EXPECT_EQ(sent(), (QByteArrayList{"HELP TRG-SRC", "TRG-SRC", "SP-TRG-MODE "}));

    camera->set("TRG-SRC", 2);
    sources.run();
    EXPECT_EQ(choices->currentIndex(), -1);
}

} // namespace
