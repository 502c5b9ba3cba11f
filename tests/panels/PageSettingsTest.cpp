// A page's settings without any window: the load reads in the declared order
// and keeps what the camera gave (or that it gave nothing); a catalogue's
// file lines come from the camera's values, page by page, each setting once.

#include "Catalogue.h"
#include "PageTesting.h"

namespace {

class SampleSettings : public PageSettings {
public:
    SampleSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        gain = &declare("GAIN-FINE", QStringLiteral("Gain"));
        readRangeAt(*gain);
        vendor = &text("VENDOR", QStringLiteral("Vendor")).readOnly();
        name = &text("USER-ID", QStringLiteral("Name"));
        source = &declare("TRG-SRC", QStringLiteral("Source"));
        readChoicesAt(*source);
        readAt(*source);
        binning = &optionalNumber("HBIN", QStringLiteral("Binning")).appliedFirst();
        region = &numbers("AREA-GAIN", QStringLiteral("Area 0"), "%d %d", 2).indexed("0");
        readAt(*gain);
        rate = &number("BAUDRATE", QStringLiteral("Baudrate")).notSaved();
        step([this] { steps << "custom"; });
        highlight = &declare("AGC-FRAME-HIGHLIGHT", QStringLiteral("HighLight"));
        readAfterLoad(*highlight);
    }

    Setting *gain, *vendor, *name, *source, *binning, *region, *rate, *highlight;
    QStringList steps;
};

class PageSettingsTest : public PageTest {
protected:
    void giveEveryAnswer()
    {
        camera->ranges["GAIN-FINE"] = " min:-35, max:480, step:1";
        camera->set("VENDOR", "PTM");
        camera->set("USER-ID", "cam A");
        camera->choices["TRG-SRC"] = {" 0(Soft)", " 7(Pin 7)"};
        camera->set("TRG-SRC", 7);
        camera->set("HBIN", 2);
        camera->set("AREA-GAIN 0", "640 480");
        camera->set("GAIN-FINE", 9999); // beyond its HELP range: kept as given
        camera->set("BAUDRATE", 115200);
        camera->set("AGC-FRAME-HIGHLIGHT", 1);
    }

    SampleSettings settings{connection, QStringLiteral("Sample"), {}};
};

TEST_F(PageSettingsTest, ReadsInTheDeclaredOrderThenWhatTheFixedOrderLeavesOut)
{
    giveEveryAnswer();
    settings.load();
    EXPECT_EQ(sent(), (QByteArrayList{"HELP GAIN-FINE", "VENDOR", "USER-ID", "HELP TRG-SRC", "TRG-SRC", "HBIN",
                                      "AREA-GAIN 0", "GAIN-FINE", "BAUDRATE", "AGC-FRAME-HIGHLIGHT"}));
    EXPECT_EQ(settings.steps, QStringList{"custom"});
    EXPECT_EQ(settings.gain->range(), (Setting::Range{-35, 480, 1}));
    EXPECT_EQ(settings.gain->number(), 9999);
    EXPECT_EQ(settings.source->choices(), (QByteArrayList{" 0(Soft)", " 7(Pin 7)"}));
    EXPECT_EQ(settings.region->numbers(), (QList<int>{640, 480}));

    // A panel reading all its pages holds the later reads back for the end.
    sentSinceLastLook();
    settings.deferLateReads();
    settings.load();
    EXPECT_FALSE(sent().contains("AGC-FRAME-HIGHLIGHT"));
    settings.readDeferredLateReads();
    EXPECT_EQ(sent().last(), "AGC-FRAME-HIGHLIGHT");
    settings.readDeferredLateReads(); // once only
    EXPECT_EQ(sent().count("AGC-FRAME-HIGHLIGHT"), 1);
}

TEST_F(PageSettingsTest, WhatTheCameraDidNotGiveIsNeverAValue)
{
    struct Case {
        const char* name;
        std::function<void(TestCamera&)> camera;
        Setting* SampleSettings::*setting;
        Setting::State state;
    };
    const Case cases[] = {
        {"refused number", [](TestCamera& c) { c.refused << "GAIN-FINE"; }, &SampleSettings::gain, Setting::State::NotRead},
        {"echo without a value line", [](TestCamera& c) { c.raw["GAIN-FINE"] = "GAIN-FINE\rOK\r"; },
         &SampleSettings::gain, Setting::State::NotRead},
        {"wrong echo", [](TestCamera& c) { c.raw["GAIN-FINE"] = "EXP\r5\rOK\r"; }, &SampleSettings::gain,
         Setting::State::NotRead},
        {"refused optional", [](TestCamera& c) { c.refused << "HBIN"; }, &SampleSettings::binning,
         Setting::State::Unavailable},
        {"short list of numbers", [](TestCamera& c) { c.set("AREA-GAIN 0", "640"); }, &SampleSettings::region,
         Setting::State::NotRead},
        {"empty text is a value", [](TestCamera& c) { c.raw["USER-ID"] = "USER-ID\rOK\r"; }, &SampleSettings::name,
         Setting::State::Known},
        {"refused text", [](TestCamera& c) { c.refused << "USER-ID"; }, &SampleSettings::name, Setting::State::NotRead},
    };
    for (const Case& c : cases) {
        camera->refused.clear();
        camera->raw.clear();
        giveEveryAnswer();
        c.camera(*camera);
        settings.load();
        EXPECT_EQ((settings.*c.setting)->state(), c.state) << c.name;
        EXPECT_EQ((settings.*c.setting)->number(), std::nullopt) << c.name;
    }
    // A refused optional value costs its one answer, never a time-out.
    camera->refused = {"HBIN"};
    const qint64 start = clock.nowMs();
    settings.read(*settings.binning);
    EXPECT_LT(clock.nowMs() - start, 1000);
}

class TwoPages : public Catalogue {
public:
    explicit TwoPages(Connection& connection)
        : Catalogue(connection, {}, QStringLiteral("Sample"),
                    {pageSettings<SampleSettings>(QStringLiteral("First")),
                     pageSettings<SampleSettings>(QStringLiteral("Second"))})
    {
    }
};

TEST_F(PageSettingsTest, AFileHoldsTheCamerasValuesPageByPageEachSettingOnce)
{
    giveEveryAnswer();
    TwoPages catalogue(connection);
    catalogue.load();
    // A value the camera accepted since counts; one typed and refused does not.
    catalogue.page(0).find("USER-ID")->setValue("cam B");

    QByteArrayList lines;
    for (const SettingLine& line : catalogue.settingLines())
        lines << line.line;
    // Applied first, then in read order; read-only and unsaved values left out.
    EXPECT_EQ(lines, (QByteArrayList{"HBIN 2", "USER-ID cam B", "TRG-SRC 7", "AREA-GAIN 0 640 480", "GAIN-FINE 9999",
                                     "AGC-FRAME-HIGHLIGHT 1"}));

    camera->refused << "GAIN-FINE";
    catalogue.load();
    EXPECT_FALSE(catalogue.find("GAIN-FINE")->fileLine());
}

TEST_F(PageSettingsTest, ALineWaitsAsLongAsItsSettingOrCommandDoes)
{
    TwoPages catalogue(connection);
    catalogue.page(0).find("HBIN")->sentWith(SendMode::transact(20.0));
    catalogue.page(0).find("AREA-GAIN 0")->sentWith(SendMode::transact(3.0));
    EXPECT_EQ(catalogue.timeoutFor("HBIN 2"), 20.0);
    EXPECT_EQ(catalogue.timeoutFor("AREA-GAIN 0 1 2"), 3.0);
    EXPECT_EQ(catalogue.timeoutFor("AREA-GAIN 1 1 2"), 1.0);
    EXPECT_EQ(catalogue.timeoutFor("NOT-A-SETTING 1"), 1.0);
}

} // namespace
