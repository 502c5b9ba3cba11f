// A page's settings as a file of settings keeps them: the line each binding
// would send for what its control shows, only for values the page's load read
// and the camera answered, each once, in the load's order.

#include "ControlPanelTovane.h"
#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

// Controls of each kind that keeps a setting or leaves one out. (Every kind of
// line a real page composes is checked on the real pages' files.)
class SettingsPage : public Page {
public:
    explicit SettingsPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        exposure = makeEdit(this);
        preset = makeList(this, {"1/1000", "1/500"});
        preset->setItemData(0, 1000);
        preset->setItemData(1, 2000);
        name = makeEdit(this);
        step = makeEdit(this);
        gain = makeSlider(this, -60, 240);
        depth = makeList(this, {"8", "10", "12"});
        binning = new QCheckBox(QStringLiteral("Binning"), this);
        filter = new QCheckBox(QStringLiteral("Filter"), this);
        chart = new RadioGroup(this, {{QStringLiteral("OFF"), 0}, {QStringLiteral("Gray"), 1}, {QStringLiteral("Color"), 2}});
        delay = makeEdit(this);
        factoryDefault = new QPushButton(QStringLiteral("FactoryDefault"), this);
        region = makeEdit(this);
        unread = makeEdit(this);

        // A shortcut into the exposure, declared before the exposure itself.
        bind().combo(preset, QStringLiteral("Preset"), "EXP").itemData().notASetting();
        bind().edit(exposure, QStringLiteral("Exposure"), "EXP");
        bind().edit(name, QStringLiteral("Name"), "USER-ID").line(Line::text("USER-ID"));
        // Two controls of one setting: the slider is declared first.
        gainBinding = &bind().slider(gain, QStringLiteral("Gain"), "GAIN-FINE").edit(step);
        bind().edit(step, QStringLiteral("Step"), "GAIN-FINE").slider(gain);
        bind().combo(depth, QStringLiteral("Depth"), "PIXEL-DEPTH").values({8, 10, 12});
        bind().check(binning, "HBIN").values(1, 2).appliedFirst();
        bind().check(filter, "SP-FL ").send(SendMode::transact(20.0));
        bind().radios(chart, QStringLiteral("Chart"), "TESTCHART");
        bind().edit(delay, QStringLiteral("Delay (9)"), "STROBE-DELAY ").indexed("9").send(SendMode::line());
        bind().button(factoryDefault, "FACTORY-DEFAULT").send(SendMode::transact(5.0));
        bind().edit(region, QStringLiteral("Area 0 Left"), "AREA-GAIN").onEnter([] {});
        bind().setting(region, "AREA-GAIN", [this]() -> std::optional<QByteArray> {
                  return "AREA-GAIN 0 1 " + region->text().toLatin1();
              })
            .indexed("0");
        bind().edit(unread, QStringLiteral("Unread"), "TRG-DLY");

        // Read in another order than declared.
        load()
            .number("TESTCHART", [this](int v) { chart->show(v); })
            .number("GAIN-FINE", *gainBinding)
            .number("EXP", exposure)
            .text("USER-ID", name)
            .step([this] { selectValue(depth, {8, 10, 12}, QueryInt(connection(), "PIXEL-DEPTH")); })
            .optional("HBIN", binning, [this](int v) { showCheck(binning, v - 1); })
            .optionalCheck("SP-FL ", filter)
            .number("STROBE-DELAY  9", delay)
            .step([this] {
                int width = 0;
                int height = 0;
                if (QueryInts(connection(), "AREA-GAIN 0", "%d %d", {&width, &height}))
                    region->setText(QStringLiteral("%1 %2").arg(width).arg(height));
            });
    }

    QLineEdit* exposure;
    QComboBox* preset;
    QLineEdit* name;
    QLineEdit* step;
    QSlider* gain;
    SliderBinding* gainBinding;
    QComboBox* depth;
    QCheckBox* binning;
    QCheckBox* filter;
    RadioGroup* chart;
    QLineEdit* delay;
    QPushButton* factoryDefault;
    QLineEdit* region;
    QLineEdit* unread;
};

class SettingLinesTest : public PageTest {
protected:
    SettingLinesTest() { givenBaseline(); }

    void givenBaseline()
    {
        camera->values.clear();
        camera->refused.clear();
        camera->set("TESTCHART", 2);
        camera->set("GAIN-FINE", 35);
        camera->set("EXP", 5000);
        camera->set("USER-ID", QByteArray("line 3"));
        camera->set("PIXEL-DEPTH", 12);
        camera->set("HBIN", 2);
        camera->set("SP-FL ", 1);
        camera->set("STROBE-DELAY  9", 30);
        camera->set("AREA-GAIN 0", QByteArray("64 48"));
        camera->set("TRG-DLY", 7);
    }

    static QByteArrayList linesOf(const QList<SettingLine>& settings)
    {
        QByteArrayList lines;
        for (const SettingLine& setting : settings)
            lines << setting.line;
        return lines;
    }
};

} // namespace

TEST_F(SettingLinesTest, EachSettingTheLoadReadIsTheLineThePageWouldSendInTheLoadsOrder)
{
    const std::unique_ptr<Page> page = open<SettingsPage>();
    auto* p = static_cast<SettingsPage*>(page.get());
    // A list whose selection the user changed shows no camera value, yet a
    // shortcut into another setting stays out whatever it shows.
    p->preset->setCurrentIndex(1);

    EXPECT_EQ(linesOf(page->settingLines()), (QByteArrayList{
                                                 "HBIN 2", // applied first: it rescales the image
                                                 "TESTCHART 2",
                                                 "GAIN-FINE 35", // once, though two controls show it
                                                 "EXP 5000",
                                                 "USER-ID line 3",
                                                 "PIXEL-DEPTH 12",
                                                 "SP-FL  1", // the word's own blank kept
                                                 "STROBE-DELAY  9 30",
                                                 "AREA-GAIN 0 1 64 48",
                                             }));
}

TEST_F(SettingLinesTest, ValuesTheCameraDidNotGiveAreLeftOut)
{
    struct Case {
        const char* what;
        std::function<void(TestCamera&)> given;
        QByteArray missing;
    };
    const Case cases[] = {
        {"a refused read that shows 0", [](TestCamera& c) { c.refused.insert("EXP"); }, "EXP 0"},
        {"a value the camera lacks, shown as N/A or unchecked", [](TestCamera& c) { c.refused.insert("SP-FL"); }, "SP-FL  0"},
        {"an optional read refused", [](TestCamera& c) { c.refused.insert("HBIN"); }, "HBIN 1"},
        {"an empty text", [](TestCamera& c) { c.set("USER-ID", QByteArray()); }, "USER-ID "},
        {"a value no item stands for", [](TestCamera& c) { c.set("PIXEL-DEPTH", 16); }, "PIXEL-DEPTH"},
        {"a value no radio button stands for", [](TestCamera& c) { c.set("TESTCHART", 5); }, "TESTCHART"},
        {"a composite row whose read failed", [](TestCamera& c) { c.refused.insert("AREA-GAIN"); }, "AREA-GAIN 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        givenBaseline();
        c.given(*camera);
        const std::unique_ptr<Page> page = open<SettingsPage>();
        const QByteArrayList lines = linesOf(page->settingLines());
        for (const QByteArray& line : lines)
            EXPECT_FALSE(line.startsWith(c.missing)) << line.constData();
        // Everything else is still there.
        EXPECT_EQ(lines.size(), 8);
    }
}

TEST_F(SettingLinesTest, OnlyTheLastLoadCountsAndNeverAValueTypedSinceWithoutReload)
{
    const std::unique_ptr<Page> page = open<SettingsPage>();
    auto* p = static_cast<SettingsPage*>(page.get());
    camera->refused.insert("EXP");
    page->LoadFromCamera();
    EXPECT_FALSE(linesOf(page->settingLines()).contains("EXP 0"));

    camera->refused.remove("EXP");
    camera->set("EXP", 8000);
    page->LoadFromCamera();
    EXPECT_TRUE(linesOf(page->settingLines()).contains("EXP 8000"));
    // A control the load never fills is never a setting, whatever it holds.
    p->unread->setText(QStringLiteral("12"));
    for (const QByteArray& line : linesOf(page->settingLines()))
        EXPECT_FALSE(line.startsWith("TRG-DLY"));
}

TEST_F(SettingLinesTest, AGuardDecidesWhetherTheUsersActionSendsAnything)
{
    struct GuardedPage : Page {
        explicit GuardedPage(PageContext context) : Page(context)
        {
            box = new QCheckBox(QStringLiteral("Matrix"), this);
            bind().check(box, "CR-TF ").onlyIf([this](int on) {
                asked << on;
                return on == 0;
            });
        }
        QCheckBox* box;
        QList<int> asked;
    };
    GuardedPage page(PageContext{connection});
    page.box->click();
    EXPECT_TRUE(sentSinceLastLook().isEmpty());
    page.box->click();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"CR-TF  0"});
    EXPECT_EQ(page.asked, (QList<int>{1, 0}));
}

TEST_F(SettingLinesTest, APanelKeepsEachSettingOnceInTabOrderAndReloadsAsOneLoad)
{
    const QList<PageEntry> pages = {pageEntry<SettingsPage>(QStringLiteral("First")),
                                    pageEntry<SettingsPage>(QStringLiteral("Second"))};
    CControlPanelTovane panel(connection, QStringLiteral("PTM-TW640"), 1, pages);
    const QList<SettingLine> settings = panel.settingLines();
    EXPECT_EQ(settings, panel.page(0)->settingLines());

    // The time-out of a file line is that of the page's setting, found by
    // the word and an index, or by the word alone.
    EXPECT_EQ(panel.timeoutFor("SP-FL  0"), 20.0);
    // A button's command waits as long as the button does; a setting streamed
    // by its page and a word no page sends wait 1.0 s.
    EXPECT_EQ(panel.timeoutFor("FACTORY-DEFAULT"), 5.0);
    EXPECT_EQ(panel.timeoutFor("STROBE-DELAY  9 40"), 1.0);
    EXPECT_EQ(panel.timeoutFor("LINEAR-INTERPOLATION-BUILD"), 1.0);

    // A camera gone silent costs one time-out for the whole reload, not one per page.
    sentSinceLastLook();
    camera->silent = {"TESTCHART", "GAIN-FINE", "EXP"};
    const qint64 startMs = clock.nowMs();
    panel.reloadAllPages();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"TESTCHART"});
    EXPECT_LT(clock.nowMs() - startMs, 12000);
    EXPECT_TRUE(panel.settingLines().isEmpty());
}
