// What the user sees when the camera refuses a setting: the control shows the
// camera's value again and the refusal is reported with the camera's reason;
// and user actions that arrive during an exchange go out after it.

#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"
#include "SoftTriggerPulse.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace {

class RefusalPage : public Page {
public:
    explicit RefusalPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        gainEdit = makeEdit(this);
        gain = makeSlider(this, 256, 4095);
        decibels = new QLabel(this);
        exposure = makeEdit(this);
        depth = makeList(this, {"8", "10", "12"});
        mirror = new QCheckBox(QStringLiteral("Mirror"), this);
        fire = new QPushButton(QStringLiteral("Fire"), this);

        auto& gainBinding =
            bind().edit(gainEdit, QStringLiteral("RGain"), "RGAIN-FINE").slider(gain).readout(decibels, asDecimal());
        bind().slider(gain, QStringLiteral("RGain"), "RGAIN-FINE").edit(gainEdit).readout(decibels, asDecimal());
        bind().edit(exposure, QStringLiteral("Exposure"), "EXP"); // no load step: read back by its word
        bind().combo(depth, QStringLiteral("Depth"), "PIXEL-DEPTH").values({8, 10, 12}).then([this](int v) {
            followed << v;
        });
        bind().check(mirror, "REVERSEX").then([this](int v) { followed << v; });
        bind().action(fire, [this] { SoftTriggerPulse::fire(connection(), this, fire, 500); });

        load().number("RGAIN-FINE", gainBinding).prefix("PIXEL-DEPTH", depth, "%d").check("REVERSEX", mirror);
    }

    QLineEdit* gainEdit;
    QSlider* gain;
    QLabel* decibels;
    QLineEdit* exposure;
    QComboBox* depth;
    QCheckBox* mirror;
    QPushButton* fire;
    QList<int> followed; // what the hooks after a list's or a box's send were given
};

struct Refusal {
    QByteArray line;
    QString reason;
};

class RefusalTest : public PageTest {
protected:
    RefusalTest()
    {
        camera->set("RGAIN-FINE", 256);
        camera->set("EXP", 100);
        camera->set("PIXEL-DEPTH", 10);
        camera->set("REVERSEX", 0);
        camera->set("GET-LAST-ERROR", "Out of range");
        page = open<RefusalPage>();
        QObject::connect(&connection, &Connection::refused, [this](const QByteArray& line, const QString& reason) {
            refusals.append({line, reason});
        });
        sentSinceLastLook();
    }
    RefusalPage& view() { return static_cast<RefusalPage&>(*page); }

    std::unique_ptr<Page> page;
    QList<Refusal> refusals;
};

} // namespace

TEST_F(RefusalTest, ARefusedValueIsReplacedByTheCamerasAndReportedWithItsReason)
{
    struct Case {
        const char* name;
        std::function<void(RefusalPage&)> act;
        QByteArrayList wire; // the set line, the reason, the read-back
        std::function<void(RefusalPage&)> check;
    };
    const Case cases[] = {
        {"edit with its slider and read-out",
         [](RefusalPage& p) { typeAndEnter(p.gainEdit, "9999"); },
         {"RGAIN-FINE 9999", "GET-LAST-ERROR", "RGAIN-FINE"},
         [](RefusalPage& p) {
             EXPECT_EQ(p.gainEdit->text(), "256");
             EXPECT_EQ(p.gain->value(), 256);
             EXPECT_EQ(p.decibels->text(), "256");
         }},
        {"edit that no load step fills",
         [](RefusalPage& p) { typeAndEnter(p.exposure, "-5"); },
         {"EXP -5", "GET-LAST-ERROR", "EXP"},
         [](RefusalPage& p) { EXPECT_EQ(p.exposure->text(), "100"); }},
        {"list",
         [](RefusalPage& p) { choose(p.depth, 2); },
         {"PIXEL-DEPTH 12", "GET-LAST-ERROR", "PIXEL-DEPTH"},
         [](RefusalPage& p) { EXPECT_EQ(p.depth->currentText(), "10"); }},
        {"check box",
         [](RefusalPage& p) { p.mirror->click(); },
         {"REVERSEX 1", "GET-LAST-ERROR", "REVERSEX"},
         [](RefusalPage& p) { EXPECT_FALSE(p.mirror->isChecked()); }},
    };
    for (const Case& c : cases) {
        // The camera refuses the value and keeps its own.
        camera->raw = {{c.wire.first(), c.wire.first() + "\rNG\r"}};
        refusals.clear();
        c.act(view());
        EXPECT_EQ(sentSinceLastLook(), c.wire) << c.name;
        c.check(view());
        ASSERT_EQ(refusals.size(), 1) << c.name;
        EXPECT_EQ(refusals.first().line, c.wire.first()) << c.name;
        EXPECT_EQ(refusals.first().reason, "Out of range") << c.name;
    }
}

TEST_F(RefusalTest, WhatFollowsAControlIsGivenTheCamerasValueWhenItRefusesTheSent)
{
    struct Case {
        const char* name;
        std::function<void(RefusalPage&)> act;
        bool refused;
        QList<int> followed;
    };
    const Case cases[] = {
        {"list accepted", [](RefusalPage& p) { choose(p.depth, 0); }, false, {8}},
        {"list refused", [](RefusalPage& p) { choose(p.depth, 2); }, true, {8}},
        {"check box refused", [](RefusalPage& p) { p.mirror->click(); }, true, {0}},
    };
    for (const Case& c : cases) {
        camera->raw.clear();
        if (c.refused)
            camera->raw = {{"PIXEL-DEPTH 12", "PIXEL-DEPTH 12\rNG\r"}, {"REVERSEX 1", "REVERSEX 1\rNG\r"}};
        view().followed.clear();
        c.act(view());
        EXPECT_EQ(view().followed, c.followed) << c.name;
    }
}

TEST_F(RefusalTest, AnAcceptedValueAddsNothingToTheWire)
{
    typeAndEnter(view().gainEdit, "300");
    choose(view().depth, 2);
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"RGAIN-FINE 300", "PIXEL-DEPTH 12"}));
    EXPECT_EQ(view().gain->value(), 300);
    EXPECT_TRUE(refusals.isEmpty());
}

TEST_F(RefusalTest, ACameraWithoutALastErrorIsAskedOnceAndTheRefusalStillReported)
{
    camera->refused = {"GET-LAST-ERROR"};
    camera->raw = {{"RGAIN-FINE 9999", "RGAIN-FINE 9999\rNG\r"}, {"RGAIN-FINE 9998", "RGAIN-FINE 9998\rNG\r"}};
    typeAndEnter(view().gainEdit, "9999");
    typeAndEnter(view().gainEdit, "9998");
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"RGAIN-FINE 9999", "GET-LAST-ERROR", "RGAIN-FINE",
                                                   "RGAIN-FINE 9998", "RGAIN-FINE"}));
    ASSERT_EQ(refusals.size(), 2);
    EXPECT_TRUE(refusals.last().reason.isEmpty());
}

TEST_F(RefusalTest, AStreamedDragThatTheCameraRefusesIsReadBackOnceItsAnswersAreIn)
{
    // The camera keeps 256 and refuses every step of the drag.
    camera->raw = {{"RGAIN-FINE 3000", "RGAIN-FINE 3000\rNG\r"}, {"RGAIN-FINE 3100", "RGAIN-FINE 3100\rNG\r"}};
    drag(view().gain, {3000, 3100});
    EXPECT_EQ(view().gainEdit->text(), "3100"); // the edit follows the drag

    // The next exchange collects the answers; the read-back follows it.
    QueryInt(connection, "EXP");
    QCoreApplication::processEvents();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"RGAIN-FINE 3000", "RGAIN-FINE 3100", "RGAIN-FINE 3100", "EXP",
                                                   "GET-LAST-ERROR", "RGAIN-FINE"}));
    EXPECT_EQ(view().gain->value(), 256);
    EXPECT_EQ(view().gainEdit->text(), "256");
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_EQ(refusals.first().line, "RGAIN-FINE 3100");
}

TEST_F(RefusalTest, AControlUsedDuringASoftwareTriggerPulseActsOnlyAfterTheFallingEdge)
{
    EventsDuringPauses user;
    user.onRun = [this, &user] {
        if (user.runs == 1) {
            view().mirror->click();
            typeAndEnter(view().gainEdit, "300");
        }
    };
    view().fire->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"REVERSEX 1", "RGAIN-FINE 300"}));
}
