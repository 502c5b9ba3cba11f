// The declared bindings: what each kind of control sends when the user works
// it, how typed text is checked, that controls of one setting show what the
// camera holds, and that nothing is sent when a setting is read.

#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

class SampleSettings : public PageSettings {
public:
    SampleSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        gain = &number("GAIN-FINE", QStringLiteral("Step"));
        coefficient = &number("SP-FL-VAL 00", QStringLiteral("Coefficient"));
        name = &text("USER-ID", QStringLiteral("Name"));
        rate = &number("FRAMERATE", QStringLiteral("Rate"));
        depth = &number("PIXEL-DEPTH", QStringLiteral("Depth"));
        source = &number("TRG-SRC", QStringLiteral("Source"));
        mode = &number("AE", QStringLiteral("Mode"));
        binning = &optionalNumber("HBIN", QStringLiteral("Binning"));
        inhibit = &number("TRG-INH", QStringLiteral("Inhibit"));
        inhibit->lineFrom([](const QByteArray& v) { return "TRG-INH " + v + '\r'; });
        chart = &number("TESTCHART", QStringLiteral("Chart"));
        strobe = &number("STROBE-DELAY ", QStringLiteral("Delay (9)")).indexed("9");
        wide = &number("WIDED-ENABLE", QStringLiteral("Enable"));
        factoryDefault = &command("FACTORY-DEFAULT", QStringLiteral("Slow"), SendMode::transact(5.0));
        usersetLoad = &command("USERSET-LOAD", QStringLiteral("Load"), SendMode::line());
        patternLoad = &command("SHADING-PATTERN-LOAD", QStringLiteral("Select"));
    }

    Setting *gain, *coefficient, *name, *rate, *depth, *source, *mode, *binning, *inhibit, *chart, *strobe, *wide;
    const CameraCommand *factoryDefault, *usersetLoad, *patternLoad;
};

class SamplePage : public Page {
public:
    using Settings = SampleSettings;

    explicit SamplePage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        auto& s = settingsAs<Settings>();
        step = makeEdit(this);
        gain = makeSlider(this, -50, 500);
        decibels = new QLabel(this);
        coefficient = makeEdit(this);
        name = makeEdit(this);
        rate = makeEdit(this);
        unbound = makeEdit(this);
        depth = makeList(this, {"8", "10", "12"});
        source = makeList(this, {" 0(Soft)", " 7(Pin7)", "Off"});
        mode = makeList(this, {"0:OFF", "1:ON"});
        binning = new QCheckBox(QStringLiteral("Binning"), this);
        inhibit = new QCheckBox(QStringLiteral("Inhibit"), this);
        chart = new RadioGroup(this, {{QStringLiteral("OFF"), 0}, {QStringLiteral("Gray"), 1}, {QStringLiteral("Color"), 2}});
        strobe = makeEdit(this);
        wide = new QCheckBox(QStringLiteral("Enable"), this);
        slow = new QPushButton(QStringLiteral("Slow"), this);
        load = new QPushButton(QStringLiteral("Load"), this);
        select = new QPushButton(QStringLiteral("Select"), this);

        bind().edit(step, *s.gain);
        bind().slider(gain, *s.gain).readout(decibels, scaledBy(0.1, "%3.2lf"));
        bind().edit(coefficient, *s.coefficient).accept(-8192, 8191);
        bind().edit(name, *s.name).text();
        bind().edit(rate, *s.rate).scaled(1000000.0, "%f").send(SendMode::line());
        bind().combo(depth, *s.depth).values({8, 10, 12});
        bind().combo(source, *s.source).leadingNumber(" %d(");
        bind().combo(mode, *s.mode);
        bind().check(binning, *s.binning).values(1, 2);
        bind().check(inhibit, *s.inhibit);
        bind().radios(chart, *s.chart);
        bind().edit(strobe, *s.strobe);
        bind().check(wide, *s.wide)
            .before([this](int v) { events << QStringLiteral("before %1").arg(v); })
            .then([this](int v) { events << QStringLiteral("then %1").arg(v); });
        bind().button(slow, *s.factoryDefault).disabledWhileSending();
        bind().button(load, *s.usersetLoad).argument([this] { return mode->currentIndex(); });
        bind().button(select, *s.patternLoad).selectedIndexOf(depth);
    }

    void LoadFromCamera() override {}

    QLineEdit* step;
    QSlider* gain;
    QLabel* decibels;
    QLineEdit* coefficient;
    QLineEdit* name;
    QLineEdit* rate;
    QLineEdit* unbound;
    QComboBox* depth;
    QComboBox* source;
    QComboBox* mode;
    QCheckBox* binning;
    QCheckBox* inhibit;
    RadioGroup* chart;
    QLineEdit* strobe;
    QCheckBox* wide;
    QStringList events;
    QPushButton* slow;
    QPushButton* load;
    QPushButton* select;
};

class BindingsTest : public PageTest {
protected:
    BindingsTest()
    {
        page.reset(static_cast<SamplePage*>(open<SamplePage>().release()));
        settings = &static_cast<SampleSettings&>(page->pageSettings());
    }
    std::unique_ptr<SamplePage> page;
    SampleSettings* settings = nullptr;
};

TEST_F(BindingsTest, EnterSendsTheValueAndEveryControlOfTheSettingFollowsOnceAccepted)
{
    typeAndEnter(page->step, QStringLiteral("12"));

    EXPECT_EQ(sent(), QByteArrayList{"GAIN-FINE 12"});
    EXPECT_EQ(page->gain->value(), 12);
    EXPECT_EQ(settings->gain->number(), 12);
    // The slider's read-out follows the slider's own moves only.
    drag(page->gain, {40});
    EXPECT_EQ(page->decibels->text(), QStringLiteral("4.00"));
    EXPECT_EQ(page->step->text(), QStringLiteral("40"));
}

struct TypedText {
    const char* edit;
    const char* typed;
    const char* line; // null: nothing goes out
};

void PrintTo(const TypedText& t, std::ostream* out)
{
    *out << t.edit << " \"" << t.typed << '"';
}

class TypedTexts : public BindingsTest, public ::testing::WithParamInterface<TypedText> {};

// Only a number the camera can take goes out; anything else stays in the box,
// marked, and the status line says why.
TEST_P(TypedTexts, SendOnlyWhatTheEditCanTake)
{
    const TypedText& t = GetParam();
    QLineEdit* edit = t.edit == QByteArray("step") ? page->step : t.edit == QByteArray("coefficient") ? page->coefficient : page->rate;
    QSignalSpy rejected(&sendPath, &SendPath::inputRejected);
    typeAndEnter(edit, QString::fromLatin1(t.typed));
    EXPECT_EQ(sent(), t.line ? QByteArrayList{t.line} : QByteArrayList{});
    EXPECT_EQ(rejected.count(), t.line ? 0 : 1);
    EXPECT_EQ(edit->property("invalidInput").toBool(), !t.line);
    if (!t.line)
        EXPECT_EQ(edit->text(), QString::fromLatin1(t.typed));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedTexts,
    ::testing::Values(TypedText{"step", "-35", "GAIN-FINE -35"}, TypedText{"step", " +7 ", "GAIN-FINE 7"},
                      TypedText{"step", "abc", nullptr}, TypedText{"step", "", nullptr}, TypedText{"step", "6.5", nullptr},
                      TypedText{"step", "12x", nullptr}, TypedText{"step", "99999999999", nullptr},
                      TypedText{"coefficient", "8191", "SP-FL-VAL 00 8191"}, TypedText{"coefficient", "8192", nullptr},
                      TypedText{"coefficient", "-8192", "SP-FL-VAL 00 -8192"}, TypedText{"coefficient", "-8193", nullptr},
                      TypedText{"rate", "29.97", "FRAMERATE 29970000"}, TypedText{"rate", "-0.5", "FRAMERATE -500000"},
                      TypedText{"rate", "fast", nullptr}, TypedText{"rate", "2147.483648", nullptr}));

TEST_F(BindingsTest, TextFieldsSendTheTextAsTypedAndRefuseControlCharacters)
{
    typeAndEnter(page->name, QStringLiteral("line 4"));
    typeAndEnter(page->name, QString());
    EXPECT_EQ(port->received, QByteArray("USER-ID line 4\rUSER-ID \r"));

    int position = 0;
    QString injected = QStringLiteral("ab\rZZ");
    EXPECT_EQ(page->name->validator()->validate(injected, position), QValidator::Invalid);
}

TEST_F(BindingsTest, EnterOutsideABoundEditAndEscapeSendNothingNorReachTheWindowsButtons)
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

    typeAndEnter(page->unbound, QStringLiteral("5"));
    pressKey(page->slow, Qt::Key_Return);
    pressKey(page->depth, Qt::Key_Enter);
    page->step->setText(QStringLiteral("3"));
    pressKey(page->step, Qt::Key_Escape);

    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(sent().isEmpty());
    page->setParent(nullptr);
}

TEST_F(BindingsTest, ListsBoxesAndRadiosSendTheValueTheyStandFor)
{
    choose(page->depth, QStringLiteral("10"));
    choose(page->source, QStringLiteral(" 7(Pin7)"));
    choose(page->source, QStringLiteral("Off")); // no number: nothing to send
    choose(page->mode, 1);
    page->binning->click();
    page->chart->button(1)->click();
    page->chart->button(1)->click();
    typeAndEnter(page->strobe, QStringLiteral("25"));
    page->inhibit->click();

    EXPECT_EQ(port->received, QByteArray("PIXEL-DEPTH 10\rTRG-SRC 7\rAE 1\rHBIN 2\rTESTCHART 1\rTESTCHART 1\r"
                                         "STROBE-DELAY  9 25\rTRG-INH 1\r\r"));
}

TEST_F(BindingsTest, ReadSettingsShowInTheirControlsAndSendNothing)
{
    camera->set("PIXEL-DEPTH", 12);
    camera->set("TRG-SRC", 7);
    camera->set("HBIN", 2);
    camera->set("TESTCHART", 2);
    camera->set("USER-ID", "cam A");
    settings->load();
    sentSinceLastLook();

    EXPECT_EQ(page->depth->currentText(), QStringLiteral("12"));
    EXPECT_EQ(page->source->currentText(), QStringLiteral(" 7(Pin7)"));
    EXPECT_TRUE(page->binning->isChecked());
    EXPECT_EQ(page->chart->checkedValue(), 2);
    EXPECT_EQ(page->name->text(), QStringLiteral("cam A"));
    settings->gain->setNumber(40);
    EXPECT_EQ(page->gain->value(), 40);
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(BindingsTest, ValuesNeverReadShowAsNotReadAndMissingOnesGreyedOut)
{
    camera->refused = {"GAIN-FINE", "PIXEL-DEPTH", "WIDED-ENABLE", "TESTCHART", "HBIN"};
    settings->load();

    EXPECT_TRUE(page->step->text().isEmpty());
    EXPECT_EQ(page->step->placeholderText(), kNotRead);
    EXPECT_EQ(page->depth->currentIndex(), -1);
    EXPECT_EQ(page->wide->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(page->chart->checkedValue(), -1);
    // An optional value the camera lacks: greyed out, and back when it has one.
    EXPECT_FALSE(page->binning->isEnabled());
    camera->refused.clear();
    camera->set("HBIN", 1);
    camera->set("GAIN-FINE", 3);
    settings->load();
    EXPECT_TRUE(page->binning->isEnabled());
    EXPECT_EQ(page->step->placeholderText(), QString());
}

TEST_F(BindingsTest, HooksRunAroundTheSendAndAfterwardsSeeTheCamerasValue)
{
    camera->set("WIDED-ENABLE", 0);
    page->wide->click();
    camera->raw = {{"WIDED-ENABLE 0", "WIDED-ENABLE 0\rNG\r"}};
    page->wide->click();

    // Refused: the hook after it is given what the camera holds, 1.
    EXPECT_EQ(page->events, (QStringList{"before 1", "then 1", "before 0", "then 1"}));
    EXPECT_TRUE(page->wide->isChecked());
}

TEST_F(BindingsTest, ButtonsSendTheirCommandWithTheirArgumentAndWaitAsDeclared)
{
    camera->silent << "FACTORY-DEFAULT" << "USERSET-LOAD";
    bool enabledWhileSending = true;
    camera->onLine = [&](const QByteArray&) { enabledWhileSending = page->slow->isEnabled(); };
    qint64 start = clock.nowUs();
    page->slow->click();
    EXPECT_FALSE(enabledWhileSending);
    EXPECT_TRUE(page->slow->isEnabled());
    const double waited = (clock.nowUs() - start) / 1e6;
    EXPECT_GT(waited, 5.0);
    EXPECT_LE(waited, 6.1);

    // Streamed: no wait.
    camera->onLine = {};
    page->mode->setCurrentIndex(1);
    start = clock.nowUs();
    page->load->click();
    EXPECT_EQ(clock.nowUs(), start);

    page->depth->setCurrentIndex(2);
    page->select->click();
    page->depth->setCurrentIndex(-1);
    page->select->click();
    EXPECT_EQ(sent(), (QByteArrayList{"FACTORY-DEFAULT", "USERSET-LOAD 1", "SHADING-PATTERN-LOAD 2"}));
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
