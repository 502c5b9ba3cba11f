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

// Values a camera may lack: shown and enabled when it answers, "N/A" and
// greyed out when it does not.
class OptionalReads : public PageTest {
protected:
    OptionalReads()
    {
        page = std::make_unique<QWidget>();
        mode = makeList(page.get(), {"0:OFF", "1:Once", "2:Continuous"});
        redEdit = makeEdit(page.get());
        redSlider = makeSlider(page.get(), 256, 4095);
        highlight = new QCheckBox(QStringLiteral("HighLight"), page.get());
        widthEdit = makeEdit(page.get());
        widthSlider = makeSlider(page.get(), 0, 640);
        EditBinding& red = bindings.edit(redEdit, QStringLiteral("RGain"), "RGAIN-FINE").slider(redSlider);
        SliderBinding& width = bindings.slider(widthSlider, QStringLiteral("Width"), "AWB-WIDTH").edit(widthEdit);
        plan.optionalIndex("AWB", mode)
            .optionalNumber("RGAIN-FINE", red)
            .optionalCheck("AWB-FRAME-HIGHLIGHT", highlight)
            .optionalNumber("AWB-WIDTH", width);
    }

    void answerEverything()
    {
        camera->set("AWB", 1);
        camera->set("RGAIN-FINE", 1024);
        camera->set("AWB-FRAME-HIGHLIGHT", 1);
        camera->set("AWB-WIDTH", 320);
    }

    QList<QWidget*> controls() const { return {mode, redEdit, redSlider, highlight, widthEdit, widthSlider}; }

    std::unique_ptr<QWidget> page;
    QComboBox* mode;
    QLineEdit* redEdit;
    QSlider* redSlider;
    QCheckBox* highlight;
    QLineEdit* widthEdit;
    QSlider* widthSlider;
    Bindings bindings{connection};
    LoadPlan plan{connection};
};

const QByteArrayList kOptionalWords = {"AWB", "RGAIN-FINE", "AWB-FRAME-HIGHLIGHT", "AWB-WIDTH"};

TEST_F(OptionalReads, AnsweredValuesAreShownAndTheirControlsEnabledAgain)
{
    for (const QByteArray& word : kOptionalWords)
        camera->refused << word;
    plan.run();
    camera->refused.clear();
    answerEverything();

    plan.run();

    for (QWidget* control : controls())
        EXPECT_TRUE(control->isEnabled()) << control->accessibleName().toStdString();
    EXPECT_EQ(mode->currentIndex(), 1);
    EXPECT_EQ(redEdit->text(), QStringLiteral("1024"));
    EXPECT_EQ(redSlider->value(), 1024);
    EXPECT_TRUE(highlight->isChecked());
    EXPECT_EQ(widthEdit->text(), QStringLiteral("320"));
    EXPECT_EQ(widthSlider->value(), 320);
    EXPECT_EQ(sent(), kOptionalWords + kOptionalWords);
}

// How a camera can fail to give a value.
struct Decline {
    const char* name;
    std::function<QByteArray(const QByteArray& word)> answer;
};

void PrintTo(const Decline& decline, std::ostream* out)
{
    *out << decline.name;
}

class DeclinedOptionalReads : public OptionalReads, public ::testing::WithParamInterface<Decline> {};

TEST_P(DeclinedOptionalReads, ShowNotAvailableGreyOutAndCostOneAnswerEach)
{
    for (const QByteArray& word : kOptionalWords)
        camera->raw[word] = GetParam().answer(word);
    mode->setCurrentIndex(2);
    redSlider->setValue(2000);
    highlight->setChecked(true);
    widthSlider->setValue(50);
    const qint64 startMs = clock.nowMs();

    plan.run();

    for (QWidget* control : controls())
        EXPECT_FALSE(control->isEnabled()) << control->accessibleName().toStdString();
    EXPECT_EQ(redEdit->text(), QStringLiteral("N/A"));
    EXPECT_EQ(widthEdit->text(), QStringLiteral("N/A"));
    EXPECT_FALSE(highlight->isChecked());
    EXPECT_EQ(mode->currentIndex(), 2);
    EXPECT_EQ(redSlider->value(), 2000);
    EXPECT_EQ(widthSlider->value(), 50);
    // One exchange each, ended by the answer: the reads' own 100 ms pauses
    // and nothing like a time-out.
    EXPECT_EQ(sent(), kOptionalWords);
    EXPECT_LT(clock.nowMs() - startMs, 4 * 100 + 100);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DeclinedOptionalReads,
    ::testing::Values(Decline{"Refused", [](const QByteArray& w) { return w + "\rNG\r"; }},
                      Decline{"Error", [](const QByteArray& w) { return w + "\rERROR: unknown\r"; }},
                      Decline{"NoValueLine", [](const QByteArray& w) { return w + "\rOK\r"; }},
                      Decline{"NotANumber", [](const QByteArray& w) { return w + "\rN/A\rOK\r"; }}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeAnswer {
    const char* name;
    const char* answer; // to "HELP AWB-WIDTH"; null: refused
    int min;
    int max;
};

void PrintTo(const RangeAnswer& range, std::ostream* out)
{
    *out << range.name;
}

class RangesIfGiven : public PageTest, public ::testing::WithParamInterface<RangeAnswer> {};

TEST_P(RangesIfGiven, TakeTheCamerasRangeOrKeepTheSlidersOwn)
{
    QSlider* slider = makeSlider(nullptr, 0, 100);
    std::unique_ptr<QSlider> owner(slider);
    if (GetParam().answer)
        camera->raw["HELP AWB-WIDTH"] = QByteArray("HELP AWB-WIDTH\r") + GetParam().answer;
    LoadPlan plan(connection);
    plan.rangeIfGiven("AWB-WIDTH", slider);

    plan.run();

    EXPECT_EQ(sent(), QByteArrayList{"HELP AWB-WIDTH"});
    EXPECT_EQ(slider->minimum(), GetParam().min);
    EXPECT_EQ(slider->maximum(), GetParam().max);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RangesIfGiven,
    ::testing::Values(RangeAnswer{"Given", " min:16, max:640, step:1\rOK\r", 16, 640},
                      RangeAnswer{"Negative", " min:-60, max:240, step:1\rOK\r", -60, 240},
                      RangeAnswer{"Refused", nullptr, 0, 100},
                      RangeAnswer{"ChoicesInstead", " 0(OFF)\r 1(ON)\rOK\r", 0, 100},
                      RangeAnswer{"UpsideDown", " min:640, max:16, step:1\rOK\r", 0, 100}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
