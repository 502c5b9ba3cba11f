// What the user sees when the camera refuses a line: every control of the
// setting shows the camera's value again and the refusal is reported with
// the camera's reason, whether a control or a handler sent it; and user
// actions that arrive during an exchange go out after it.

#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"
#include "SoftTriggerPulse.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace {

class RefusalSettings : public PageSettings {
public:
    RefusalSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        gain = &number("RGAIN-FINE", QStringLiteral("RGain"));
        depth = &number("PIXEL-DEPTH", QStringLiteral("Depth"));
        mirror = &number("REVERSEX", QStringLiteral("Mirror"));
        exposure = &declare("EXP", QStringLiteral("Exposure"));
        reset = &command("RESET", QStringLiteral("Reset"));
        trigger = &command("TRG-SOFT", QStringLiteral("Fire"));
    }
    Setting *gain, *depth, *mirror, *exposure;
    const CameraCommand *reset, *trigger;
};

class RefusalPage : public Page {
public:
    using Settings = RefusalSettings;

    explicit RefusalPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        auto& s = settingsAs<Settings>();
        gainEdit = makeEdit(this);
        gain = makeSlider(this, 256, 4095);
        depth = makeList(this, {"8", "10", "12"});
        mirror = new QCheckBox(QStringLiteral("Mirror"), this);
        exposure = makeEdit(this);
        reset = new QPushButton(QStringLiteral("Reset"), this);
        fire = new QPushButton(QStringLiteral("Fire"), this);
        sequence = new QPushButton(QStringLiteral("Sequence"), this);

        bind().edit(gainEdit, *s.gain);
        bind().slider(gain, *s.gain);
        bind().combo(depth, *s.depth).values({8, 10, 12});
        bind().edit(exposure, *s.exposure);
        bind().check(mirror, *s.mirror);
        bind().button(reset, *s.reset);
        bind().action(fire, [this, &s] { SoftTriggerPulse::fire(sendPath(), *s.trigger, this, fire, 500); });
        // A handler of the page's own that sends two settings.
        bind().action(sequence, [this, &s] {
            sendPath().set(*s.exposure, 5);
            sendPath().set(*s.gain, 9999);
        });
    }

    QLineEdit* gainEdit;
    QSlider* gain;
    QComboBox* depth;
    QCheckBox* mirror;
    QLineEdit* exposure;
    QPushButton* reset;
    QPushButton* fire;
    QPushButton* sequence;
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
        QObject::connect(&sendPath, &SendPath::refused, [this](const QByteArray& line, const QString& reason) {
            refusals.append({line, reason});
        });
        sentSinceLastLook();
    }
    RefusalPage& view() { return static_cast<RefusalPage&>(*page); }
    void refuse(const QByteArray& line) { camera->raw[line] = line + "\rNG\r"; }

    std::unique_ptr<Page> page;
    QList<Refusal> refusals;
};

} // namespace

TEST_F(RefusalTest, ARefusedValueIsReadBackIntoEveryControlAndReportedWithItsReason)
{
    struct Case {
        const char* name;
        std::function<void(RefusalPage&)> act;
        QByteArray refused;
        QByteArrayList wire;
        std::function<void(RefusalPage&)> check;
    };
    const Case cases[] = {
        {"edit with a slider of the same setting",
         [](RefusalPage& p) { typeAndEnter(p.gainEdit, "9999"); }, "RGAIN-FINE 9999",
         {"RGAIN-FINE 9999", "GET-LAST-ERROR", "RGAIN-FINE"},
         [](RefusalPage& p) {
             EXPECT_EQ(p.gainEdit->text(), "256");
             EXPECT_EQ(p.gain->value(), 256);
         }},
        {"list", [](RefusalPage& p) { choose(p.depth, 2); }, "PIXEL-DEPTH 12", {"PIXEL-DEPTH 12", "GET-LAST-ERROR", "PIXEL-DEPTH"},
         [](RefusalPage& p) { EXPECT_EQ(p.depth->currentText(), "10"); }},
        {"check box", [](RefusalPage& p) { p.mirror->click(); }, "REVERSEX 1", {"REVERSEX 1", "GET-LAST-ERROR", "REVERSEX"},
         [](RefusalPage& p) { EXPECT_FALSE(p.mirror->isChecked()); }},
        {"a handler's second line", [](RefusalPage& p) { p.sequence->click(); }, "RGAIN-FINE 9999",
         {"EXP 5", "RGAIN-FINE 9999", "GET-LAST-ERROR", "RGAIN-FINE"},
         [](RefusalPage& p) {
             EXPECT_EQ(p.exposure->text(), "5");
             EXPECT_EQ(p.gainEdit->text(), "256");
         }},
        {"a command", [](RefusalPage& p) { p.reset->click(); }, "RESET", {"RESET", "GET-LAST-ERROR"}, [](RefusalPage&) {}},
    };
    for (const Case& c : cases) {
        camera->raw.clear();
        refuse(c.refused);
        refusals.clear();
        c.act(view());
        EXPECT_EQ(sentSinceLastLook(), c.wire) << c.name;
        c.check(view());
        ASSERT_EQ(refusals.size(), 1) << c.name;
        EXPECT_EQ(refusals.first().reason, "Out of range") << c.name;
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
    refuse("RGAIN-FINE 9999");
    refuse("RGAIN-FINE 9998");
    typeAndEnter(view().gainEdit, "9999");
    typeAndEnter(view().gainEdit, "9998");
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"RGAIN-FINE 9999", "GET-LAST-ERROR", "RGAIN-FINE",
                                                   "RGAIN-FINE 9998", "RGAIN-FINE"}));
    ASSERT_EQ(refusals.size(), 2);
    EXPECT_TRUE(refusals.last().reason.isEmpty());
}

TEST_F(RefusalTest, AnUnansweredLineLeavesTheControlsAtTheCamerasLastValue)
{
    camera->silent << "RGAIN-FINE";
    QList<QByteArray> unanswered;
    QObject::connect(&sendPath, &SendPath::unanswered, [&](const QByteArray& line) { unanswered << line; });
    typeAndEnter(view().gainEdit, "300");
    EXPECT_EQ(view().gainEdit->text(), "256");
    EXPECT_EQ(unanswered, QList<QByteArray>{"RGAIN-FINE 300"});
}

TEST_F(RefusalTest, AStreamedDragThatTheCameraRefusesIsReadBackOnceItsAnswersAreIn)
{
    // The camera keeps 256 and refuses every step of the drag.
    refuse("RGAIN-FINE 3000");
    refuse("RGAIN-FINE 3100");
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

TEST_F(RefusalTest, ActionsThatArriveDuringAnExchangeRunAfterItInOrder)
{
    QStringList ran;
    auto guard = std::make_unique<QObject>();
    {
        Connection::BusyScope busy(connection);
        sendPath.whenIdle([&] { ran << "first"; });
        sendPath.whenIdle([&] { ran << "gone"; }, guard.get());
        sendPath.whenIdle([&] { ran << "second"; });
        guard.reset();
        EXPECT_TRUE(ran.isEmpty());
    }
    EXPECT_TRUE(ran.isEmpty()); // not from inside the handler that held the scope
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (QStringList{"first", "second"}));

    sendPath.whenIdle([&] { ran << "now"; });
    EXPECT_EQ(ran.last(), "now");
}
