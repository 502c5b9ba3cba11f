// The declared bindings: what each kind of control sends when the user works
// it, and that nothing is sent when the page itself sets the controls.

#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

class SamplePage : public Page {
public:
    explicit SamplePage(PageContext context) : Page(context)
    {
        step = makeEdit(this);
        gain = makeSlider(this, -50, 500);
        decibels = new QLabel(this);
        coefficient = makeEdit(this);
        name = makeEdit(this);
        rate = makeEdit(this);
        width = makeEdit(this);
        widthSlider = makeSlider(this, 0, 640);
        unbound = makeEdit(this);
        depth = makeList(this, {"8", "10", "12"});
        source = makeList(this, {" 0(Soft)", " 7(Pin7)", "Off"});
        mode = makeList(this, {"0:OFF", "1:ON"});
        binning = new QCheckBox(QStringLiteral("Binning"), this);
        inhibit = new QCheckBox(QStringLiteral("Inhibit"), this);
        chart = new RadioGroup(this, {{QStringLiteral("OFF"), 0}, {QStringLiteral("Gray"), 1}, {QStringLiteral("Color"), 2}});
        strobe = makeEdit(this);
        source9 = makeList(this, {"Exposure", "Strobe", "LVAL"});
        wide = new QCheckBox(QStringLiteral("Enable"), this);
        slow = new QPushButton(QStringLiteral("Slow"), this);
        load = new QPushButton(QStringLiteral("Load"), this);
        select = new QPushButton(QStringLiteral("Select"), this);

        bind().edit(step, QStringLiteral("Step"), "GAIN-FINE").slider(gain).readout(decibels, scaledBy(0.1, "%3.2lf"));
        bind().edit(coefficient, QStringLiteral("Coefficient"), "SP-FL-VAL 00").accept(-8192, 8191);
        bind().edit(name, QStringLiteral("Name"), "USER-ID").line(Line::text("USER-ID"));
        bind().edit(rate, QStringLiteral("Rate"), "FRAMERATE").line(Line::scaled("FRAMERATE", 1000000.0)).send(SendMode::line());
        bind().edit(width, QStringLiteral("Width"), "AWB-WIDTH").slider(widthSlider).wholeNumbersOnly();
        bind().combo(depth, QStringLiteral("Depth"), "PIXEL-DEPTH").values({8, 10, 12});
        bind().combo(source, QStringLiteral("Source"), "TRG-SRC").leadingNumber();
        bind().combo(mode, QStringLiteral("Mode"), "AE");
        bind().check(binning, "HBIN").values(1, 2);
        bind().check(inhibit, "TRG-INH").line([](int v) -> std::optional<QByteArray> { return "TRG-INH " + QByteArray::number(v) + '\r'; });
        bind().radios(chart, QStringLiteral("Chart"), "TESTCHART");
        bind().edit(strobe, QStringLiteral("Delay (9)"), "STROBE-DELAY ").indexed("9");
        bind().combo(source9, QStringLiteral("GPO-SOURCE (9)"), "GPO-SRC").indexed("9");
        bind().check(wide, "WIDED-ENABLE")
            .before([this](int v) { events << QStringLiteral("before %1").arg(v); })
            .onRefused([this](int v) { events << QStringLiteral("refused %1").arg(v); })
            .then([this](int v) { events << QStringLiteral("then %1").arg(v); });
        bind().button(slow, "FACTORY-DEFAULT").send(SendMode::transact(5.0)).disabledWhileSending();
        bind().button(load, "USERSET-LOAD").argument([this] { return mode->currentIndex(); }).send(SendMode::line());
        bind().button(select, "SHADING-PATTERN-LOAD").selectedIndexOf(depth);
    }

    QLineEdit* step;
    QSlider* gain;
    QLabel* decibels;
    QLineEdit* coefficient;
    QLineEdit* name;
    QLineEdit* rate;
    QLineEdit* width;
    QSlider* widthSlider;
    QLineEdit* unbound;
    QComboBox* depth;
    QComboBox* source;
    QComboBox* mode;
    QCheckBox* binning;
    QCheckBox* inhibit;
    RadioGroup* chart;
    QLineEdit* strobe;
    QComboBox* source9;
    QCheckBox* wide;
    QStringList events;
    QPushButton* slow;
    QPushButton* load;
    QPushButton* select;
};

class BindingsTest : public PageTest {
protected:
    BindingsTest() { page = std::make_unique<SamplePage>(PageContext{connection}); }
    std::unique_ptr<SamplePage> page;
};

TEST_F(BindingsTest, EnterInABoundEditSendsItsValueAndMovesThePairedSlider)
{
    typeAndEnter(page->step, QStringLiteral("12"));

    EXPECT_EQ(sent(), QByteArrayList{"GAIN-FINE 12"});
    EXPECT_EQ(page->gain->value(), 12);
    EXPECT_EQ(page->decibels->text(), QStringLiteral("1.20"));
}

struct TypedValue {
    const char* typed;
    const char* line;
};

void PrintTo(const TypedValue& value, std::ostream* out)
{
    *out << '"' << value.typed << '"';
}

class TypedValues : public BindingsTest, public ::testing::WithParamInterface<TypedValue> {};

TEST_P(TypedValues, EnterSendsTheTextReadAsASignedDecimal)
{
    typeAndEnter(page->step, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(sent(), QByteArrayList{GetParam().line});
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedValues,
                         ::testing::Values(TypedValue{"-35", "GAIN-FINE -35"}, TypedValue{"abc", "GAIN-FINE 0"},
                                           TypedValue{"", "GAIN-FINE 0"}, TypedValue{" +7x", "GAIN-FINE 7"},
                                           TypedValue{"99999999999", "GAIN-FINE 2147483647"},
                                           TypedValue{"-99999999999", "GAIN-FINE -2147483648"}));

TEST_F(BindingsTest, ValuesOutsideTheAcceptedRangeAreNotSent)
{
    for (const char* typed : {"8191", "8192", "-8192", "-8193"})
        typeAndEnter(page->coefficient, QString::fromLatin1(typed));

    EXPECT_EQ(sent(), (QByteArrayList{"SP-FL-VAL 00 8191", "SP-FL-VAL 00 -8192"}));
    EXPECT_EQ(page->coefficient->text(), QStringLiteral("-8193"));
}

TEST_F(BindingsTest, AnEditWithAnAcceptedRangeSendsOnlyWholeNumbers)
{
    // What would otherwise go out as 0, 12 or a clamped value goes nowhere.
    for (const char* typed : {"", "  ", "abc", "12x", "1.5", "1e3", "99999999999", "-", "0x10"}) {
        typeAndEnter(page->coefficient, QString::fromLatin1(typed));
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{}) << '"' << typed << '"';
        EXPECT_EQ(page->coefficient->text(), QString::fromLatin1(typed));
    }
    for (const char* typed : {" 12 ", "+7", "-0"})
        typeAndEnter(page->coefficient, QString::fromLatin1(typed));
    EXPECT_EQ(sent(), (QByteArrayList{"SP-FL-VAL 00 12", "SP-FL-VAL 00 7", "SP-FL-VAL 00 0"}));
}

TEST_F(BindingsTest, TextBindingsSendTheTextAsTypedEvenWhenEmpty)
{
    typeAndEnter(page->name, QStringLiteral("line 4"));
    typeAndEnter(page->name, QString());
    EXPECT_EQ(port->received, QByteArray("USER-ID line 4\rUSER-ID \r"));
}

TEST_F(BindingsTest, ScaledBindingsSendNothingForTextThatIsNotANumberOrTooLarge)
{
    for (const char* typed : {"29.97", "1.001", "fast", "2147.483648", "-0.5"})
        typeAndEnter(page->rate, QString::fromLatin1(typed));
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE 29970000", "FRAMERATE 1000999", "FRAMERATE -500000"}));
}

TEST_F(BindingsTest, WholeNumberEditsSendNothingForOtherTextAndKeepIt)
{
    typeAndEnter(page->width, QStringLiteral(" 320 "));
    for (const char* typed : {"N/A", "", "12.5", "64px", "99999999999"}) {
        typeAndEnter(page->width, QString::fromLatin1(typed));
        EXPECT_EQ(page->width->text(), QString::fromLatin1(typed));
    }
    EXPECT_EQ(page->widthSlider->value(), 320);
    typeAndEnter(page->width, QStringLiteral("-8"));

    EXPECT_EQ(sent(), (QByteArrayList{"AWB-WIDTH 320", "AWB-WIDTH -8"}));
}

TEST_F(BindingsTest, EnterOutsideABoundEditAndEscapeSendNothing)
{
    typeAndEnter(page->unbound, QStringLiteral("5"));
    pressKey(page->slow, Qt::Key_Return);
    pressKey(page->depth, Qt::Key_Enter);
    page->step->setText(QStringLiteral("3"));
    pressKey(page->step, Qt::Key_Escape);

    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(BindingsTest, NeitherEnterNorEscapeReachesTheWindowsDefaultOrCancelButton)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    int clicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
    page->setParent(&dialog);
    layout->addWidget(page.get());
    layout->addWidget(ok);
    dialog.show();

    typeAndEnter(page->step, QStringLiteral("4"));
    pressKey(page->unbound, Qt::Key_Return);
    pressKey(page->slow, Qt::Key_Return);
    pressKey(page->step, Qt::Key_Escape);

    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(sent(), QByteArrayList{"GAIN-FINE 4"});
    page->setParent(nullptr);
}

TEST_F(BindingsTest, ListsSendTheChosenItemsValue)
{
    choose(page->depth, QStringLiteral("10"));
    choose(page->source, QStringLiteral(" 7(Pin7)"));
    choose(page->source, QStringLiteral("Off")); // no number: nothing to send
    choose(page->mode, 1);

    EXPECT_EQ(sent(), (QByteArrayList{"PIXEL-DEPTH 10", "TRG-SRC 7", "AE 1"}));
}

TEST_F(BindingsTest, CheckBoxesSendTheirNewStateWhenClicked)
{
    page->binning->click();
    page->binning->click();
    page->inhibit->click();

    EXPECT_EQ(port->received, QByteArray("HBIN 2\rHBIN 1\rTRG-INH 1\r\r"));
}

TEST_F(BindingsTest, RadiosSendTheirValueEveryTimeTheyAreClicked)
{
    page->chart->button(1)->click();
    page->chart->button(1)->click();
    page->chart->button(0)->click();

    EXPECT_EQ(sent(), (QByteArrayList{"TESTCHART 1", "TESTCHART 1", "TESTCHART 0"}));
    EXPECT_EQ(page->chart->checkedValue(), 0);
}

TEST_F(BindingsTest, IndexedBindingsPutTheirIndexBeforeTheValue)
{
    typeAndEnter(page->strobe, QStringLiteral("25"));
    choose(page->source9, 2);
    EXPECT_EQ(sent(), (QByteArrayList{"STROBE-DELAY  9 25", "GPO-SRC 9 2"}));
}

TEST_F(BindingsTest, ARefusalRunsItsHandlerBetweenTheSendAndTheAfterwards)
{
    page->wide->click();
    camera->refused << "WIDED-ENABLE";
    page->wide->click();

    EXPECT_EQ(page->events, (QStringList{"before 1", "then 1", "before 0", "refused 0", "then 0"}));
}

TEST_F(BindingsTest, SettingControlsFromCodeSendsNothing)
{
    page->step->setText(QStringLiteral("8"));
    page->gain->setValue(40);
    page->depth->setCurrentIndex(2);
    page->binning->setChecked(true);
    page->chart->show(2);
    page->chart->show(7);

    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(page->chart->checkedValue(), -1);
}

TEST_F(BindingsTest, AButtonStaysDisabledForItsWholeTransaction)
{
    camera->silent << "FACTORY-DEFAULT";
    bool enabledWhileSending = true;
    camera->onLine = [&](const QByteArray&) { enabledWhileSending = page->slow->isEnabled(); };
    const qint64 start = clock.nowUs();

    page->slow->click();

    EXPECT_FALSE(enabledWhileSending);
    EXPECT_TRUE(page->slow->isEnabled());
    const double waited = (clock.nowUs() - start) / 1e6;
    EXPECT_GT(waited, 5.0);
    EXPECT_LE(waited, 6.1);
}

TEST_F(BindingsTest, AButtonSendsTheSelectedIndexOfItsListAndNothingWithoutASelection)
{
    page->depth->setCurrentIndex(2);
    page->select->click();
    page->depth->setCurrentIndex(-1);
    page->select->click();
    EXPECT_EQ(sent(), QByteArrayList{"SHADING-PATTERN-LOAD 2"});
}

TEST_F(BindingsTest, ALineSentWithoutWaitingDoesNotWaitForTheAnswer)
{
    camera->silent << "USERSET-LOAD";
    page->mode->setCurrentIndex(1);
    const qint64 start = clock.nowUs();

    page->load->click();

    EXPECT_EQ(sent(), QByteArrayList{"USERSET-LOAD 1"});
    EXPECT_EQ(clock.nowUs(), start);
}

TEST_F(BindingsTest, TheExchangeAfterLinesSentWithoutWaitingReadsItsOwnAnswer)
{
    port->replyDelayMs = 40; // every answer is still on its way when the next line goes out
    camera->set("FRAMERATE", 0);
    typeAndEnter(page->rate, QStringLiteral("10"));
    typeAndEnter(page->rate, QStringLiteral("20"));

    EXPECT_EQ(QueryInt(connection, "FRAMERATE"), 20000000);
    EXPECT_EQ(sent(), (QByteArrayList{"FRAMERATE 10000000", "FRAMERATE 20000000", "FRAMERATE"}));
}

} // namespace
