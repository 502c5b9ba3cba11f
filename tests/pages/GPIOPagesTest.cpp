// The "GPIO" pages of both families against simulated cameras: the load in
// its fixed order, what each control sends down to the blanks on the wire,
// the direction of pins 7 and 4 with the output block that follows it, a
// camera that cannot switch those pins, the input read-out and typed values
// that must not go out. The Brevo page differs only in reading the inputs
// when it opens and in its list of output sources.

#include "ConnectorPicture.h"
#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLGPIOPage.h"
#include "tovane/TovaneGPIOPage.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

// Everything either page reads when it loads, in its order.
const QByteArrayList kLoadOrder = {
    "PULSE-CYCLE ",   "PULSE-DUTY ",     "GPO-SRC 4",      "GPO-SRC 6",       "GPO-SRC 9",
    "GPO-INV 4",      "GPO-INV 6",       "GPO-INV 9",      "USER-OUTPUT 1",   "USER-OUTPUT 2",
    "USER-OUTPUT 3",  "STROBE-TIME  4",  "STROBE-DELAY  4", "STROBE-TIME  6", "STROBE-DELAY  6",
    "STROBE-TIME  9", "STROBE-DELAY  9", "GPIO-MODE  7",   "GPO-INV 7",       "GPO-SRC 7",
    "STROBE-TIME  7", "STROBE-DELAY  7", "GPIO-MODE  4",   "GPO-INV 4",       "GPO-SRC 4",
    "STROBE-TIME  4", "STROBE-DELAY  4"};

const QByteArrayList kInputReads = {"GPI  7", "GPI  10", "GPI  11", "GPI  4"};

QByteArrayList outputReads(const QByteArray& pin)
{
    return {"GPO-INV " + pin, "GPO-SRC " + pin, "STROBE-TIME  " + pin, "STROBE-DELAY  " + pin};
}

struct BrevoGpio {
    using PageClass = CBrevoCLGPIOPage;
    static constexpr const char* kModel = "PTM-R560CL";
    static constexpr bool kReadsInputsWhenOpening = true;
    static QStringList sources()
    {
        return {"Exposure", "Strobe", "LVAL", "FVAL", "SensorOut", "TrigSig", "Pulse", "User1", "User2", "User3"};
    }
    // The simulated Brevo whose pins 7 and 4 are fixed.
    static constexpr const char* kFixedPinsModel = "PTM-R140MLF";
};

struct TovaneGpio {
    using PageClass = CTovaneGPIOPage;
    static constexpr const char* kModel = "PTM-TW640M";
    static constexpr bool kReadsInputsWhenOpening = false;
    static QStringList sources()
    {
        return {"Exposure", "Strobe", "LVAL",  "FVAL", "SensorOut", "TrigSig", "Pulse",
                "User1",    "User2",  "User3", "None", "Low",       "High"};
    }
    // Every Tovane switches its pins; one that refuses GPIO-MODE stands in.
    static constexpr const char* kFixedPinsModel = nullptr;
};

} // namespace

template <class Family>
class GpioPages : public SimPageTest {
protected:
    GpioPages() { useModel(QString::fromLatin1(Family::kModel)); }

    void openPage()
    {
        page = open<typename Family::PageClass>();
        camera->clearRecord();
    }

    void useCameraWithoutPinDirections()
    {
        if (Family::kFixedPinsModel)
            useModel(QString::fromLatin1(Family::kFixedPinsModel));
        else
            camera->refuseCommand(QStringLiteral("GPIO-MODE"));
    }

    QLineEdit* edit(const QString& name) const { return findNamed<QLineEdit>(page.get(), name); }
    QComboBox* list(const QString& name) const { return findNamed<QComboBox>(page.get(), name); }
    QAbstractButton* button(const QString& text) const { return findButton(page.get(), text); }
    QString label(const QString& prefix) const { return findLabel(page.get(), prefix)->text(); }
    QString pinRoles() const { return page->findChild<ConnectorPicture*>()->accessibleDescription(); }

    // The controls of one output pin, and whether the user can work them.
    QList<QWidget*> outputControls(const QString& pin) const
    {
        return {button("Inverter(" + pin + ")"), list("GPO-SOURCE (" + pin + ")"), edit("Time (" + pin + ")"),
                edit("Delay (" + pin + ")")};
    }
    void expectOutputsLive(const QString& pin, bool live) const
    {
        for (QWidget* control : outputControls(pin))
            EXPECT_EQ(control->isEnabled(), live) << control->accessibleName().toStdString();
    }

    std::unique_ptr<Page> page;
};

using Families = ::testing::Types<BrevoGpio, TovaneGpio>;
TYPED_TEST_SUITE(GpioPages, Families);

TYPED_TEST(GpioPages, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    this->page = this->template open<typename TypeParam::PageClass>();
    EXPECT_EQ(this->sent(), kLoadOrder + (TypeParam::kReadsInputsWhenOpening ? kInputReads : QByteArrayList{}));

    this->camera->clearRecord();
    this->button("Refresh")->click();
    EXPECT_EQ(this->sent(), kLoadOrder); // the inputs wait for "Read"
}

TYPED_TEST(GpioPages, ShowsWhatTheCameraReports)
{
    for (const char* line : {"PULSE-CYCLE  5000", "PULSE-DUTY  1200", "GPO-SRC 6 3", "GPO-SRC 7 5", "GPO-INV 9 1",
                             "GPO-INV 7 1", "USER-OUTPUT 2 1", "STROBE-TIME  6 250", "STROBE-DELAY  9 25",
                             "STROBE-TIME  7 70", "STROBE-DELAY  4 40", "GPIO-MODE  7 1", "GPIO-MODE  4 0"})
        this->given(line);
    this->openPage();

    const std::pair<const char*, const char*> edits[] = {{"Cycle", "5000"},    {"Duty", "1200"},     {"Time (4)", "100"},
                                                         {"Time (6)", "250"},  {"Delay (9)", "25"},  {"Time (7)", "70"},
                                                         {"Delay (4)", "40"}};
    for (const auto& [name, text] : edits)
        EXPECT_EQ(this->edit(name)->text(), text) << name;
    // Pin 7 an output, pin 4 an input whose values are still shown.
    const std::pair<const char*, const char*> lists[] = {{"GPO-SOURCE (4)", "Exposure"}, {"GPO-SOURCE (6)", "FVAL"},
                                                         {"GPO-SOURCE (9)", "Pulse"},    {"GPO-SOURCE (7)", "TrigSig"},
                                                         {"Pin 7", "OUT"},               {"Pin 4", "IN"}};
    for (const auto& [name, text] : lists)
        EXPECT_EQ(this->list(name)->currentText(), text) << name;
    const std::pair<const char*, bool> boxes[] = {{"Inverter(4)", false},  {"Inverter(9)", true},
                                                  {"Inverter(7)", true},   {"UserOutput 1", false},
                                                  {"UserOutput 2", true}};
    for (const auto& [name, checked] : boxes)
        EXPECT_EQ(this->button(name)->isChecked(), checked) << name;
    EXPECT_TRUE(this->list("Pin 7")->isEnabled());
    EXPECT_TRUE(this->list("Pin 4")->isEnabled());
    this->expectOutputsLive("7", true);
    this->expectOutputsLive("4", false);
    this->expectOutputsLive("6", true);
    EXPECT_EQ(this->pinRoles(), "Pin 4: input; Pin 6: output FVAL; Pin 7: output TrigSig, inverted; "
                                "Pin 9: output Pulse, inverted; Pin 10: input; Pin 11: input");
}

TYPED_TEST(GpioPages, EachOutputSettingGoesOutWithItsPinAndTheDoubledBlanks)
{
    this->given("GPIO-MODE  7 1"); // every pin an output, every control live
    this->openPage();
    for (const QString pin : {"4", "6", "9", "7"}) {
        const QByteArray p = pin.toLatin1();
        choose(this->list("GPO-SOURCE (" + pin + ")"), 8);
        this->button("Inverter(" + pin + ")")->click();
        typeAndEnter(this->edit("Time (" + pin + ")"), "300");
        typeAndEnter(this->edit("Delay (" + pin + ")"), "25");
        EXPECT_EQ(this->sentSinceLastLook(), (QByteArrayList{"GPO-SRC " + p + " 8", "GPO-INV " + p + " 1",
                                                             "STROBE-TIME  " + p + " 300", "STROBE-DELAY  " + p + " 25"}));
        EXPECT_EQ(this->reported("GPO-SRC " + p), 8);
        EXPECT_EQ(this->reported("GPO-INV " + p), 1);
        EXPECT_EQ(this->reported("STROBE-TIME  " + p), 300);
        EXPECT_EQ(this->reported("STROBE-DELAY  " + p), 25);
    }
    for (const QByteArray k : {"1", "2", "3"}) {
        this->button("UserOutput " + QString::fromLatin1(k))->click();
        EXPECT_EQ(this->sentSinceLastLook(), QByteArrayList{"USER-OUTPUT " + k + " 1"});
        EXPECT_EQ(this->reported("USER-OUTPUT " + k), 1);
    }
    this->button("UserOutput 2")->click();
    typeAndEnter(this->edit("Cycle"), "5000");
    typeAndEnter(this->edit("Duty"), "250");
    EXPECT_EQ(this->sentSinceLastLook(), (QByteArrayList{"USER-OUTPUT 2 0", "PULSE-CYCLE  5000", "PULSE-DUTY  250"}));
    EXPECT_EQ(this->reported("PULSE-CYCLE "), 5000);
    EXPECT_EQ(this->reported("PULSE-DUTY "), 250);
    EXPECT_EQ(this->pinRoles(), "Pin 4: output User2, inverted; Pin 6: output User2, inverted; "
                                "Pin 7: output User2, inverted; Pin 9: output User2, inverted; "
                                "Pin 10: input; Pin 11: input");
}

TYPED_TEST(GpioPages, TheDelayOfRowNineGoesOutWithTwoBlanksAfterTheWord)
{
    this->openPage();
    typeAndEnter(this->edit("Delay (9)"), "250");
    QByteArray wire;
    for (const auto& byte : this->camera->record().bytes) {
        if (byte.direction == SimulatedCamera::Direction::ToCamera)
            wire += byte.byte;
    }
    EXPECT_EQ(wire, "STROBE-DELAY  9 250\r");
}

TYPED_TEST(GpioPages, TheSourceListsHoldTheFamilysSignalsInTheCamerasOrder)
{
    this->openPage();
    for (const QString pin : {"4", "6", "9", "7"}) {
        QComboBox* sources = this->list("GPO-SOURCE (" + pin + ")");
        QStringList items;
        for (int i = 0; i < sources->count(); ++i)
            items << sources->itemText(i);
        EXPECT_EQ(items, TypeParam::sources()) << pin.toStdString();
    }
    // The last item is the highest value the camera takes.
    const int last = int(TypeParam::sources().size()) - 1;
    choose(this->list("GPO-SOURCE (6)"), last);
    EXPECT_EQ(this->reported("GPO-SRC 6"), last);
}

TYPED_TEST(GpioPages, ChangingADirectionSendsItAndReReadsThatPinsFourOutputValues)
{
    this->openPage();
    this->expectOutputsLive("7", false); // the cameras start with pin 7 an input and pin 4 an output
    this->expectOutputsLive("4", true);

    this->given("STROBE-TIME  7 321");
    choose(this->list("Pin 7"), "OUT");
    EXPECT_EQ(this->sentSinceLastLook(), QByteArrayList{"GPIO-MODE  7 1"} + outputReads("7"));
    this->expectOutputsLive("7", true);
    EXPECT_EQ(this->edit("Time (7)")->text(), "321");
    EXPECT_EQ(this->reported("GPIO-MODE  7"), 1);

    this->given("GPO-SRC 4 4");
    choose(this->list("Pin 4"), "IN");
    EXPECT_EQ(this->sentSinceLastLook(), QByteArrayList{"GPIO-MODE  4 0"} + outputReads("4"));
    this->expectOutputsLive("4", false);
    EXPECT_EQ(this->list("GPO-SOURCE (4)")->currentText(), "SensorOut"); // greyed but read
    EXPECT_EQ(this->pinRoles(), "Pin 4: input; Pin 6: output Strobe; Pin 7: output User1; Pin 9: output Pulse; "
                                "Pin 10: input; Pin 11: input");
}

TYPED_TEST(GpioPages, ARefusedDirectionIsReportedAndThePinShownAsTheCameraHasIt)
{
    this->openPage();
    this->camera->refuseCommand(QStringLiteral("GPIO-MODE"));
    QByteArrayList reported;
    QObject::connect(&this->sendPath, &SendPath::refused, [&](const QByteArray& line, const QString& reason) {
        reported << line + ": " + reason.toLatin1();
    });
    choose(this->list("Pin 7"), "OUT");
    EXPECT_EQ(this->sent(), QByteArrayList({"GPIO-MODE  7 1", "GET-LAST-ERROR", "GPIO-MODE  7"}) + outputReads("7"));
    EXPECT_EQ(reported, QByteArrayList{"GPIO-MODE  7 1: Refused"});
    // The camera no longer tells the direction: pin 7 counts as an input again.
    EXPECT_FALSE(this->list("Pin 7")->isEnabled());
    EXPECT_EQ(this->list("Pin 7")->currentText(), "IN");
    this->expectOutputsLive("7", false);
}

TYPED_TEST(GpioPages, ACameraThatCannotSwitchPinsHasPinSevenAnInputAndPinFourAnOutput)
{
    this->useCameraWithoutPinDirections();
    const qint64 start = this->clock.nowUs();
    this->page = this->template open<typename TypeParam::PageClass>();
    EXPECT_EQ(this->sent(), kLoadOrder + (TypeParam::kReadsInputsWhenOpening ? kInputReads : QByteArrayList{}));
    // The refusals end their reads at once: nothing waits for a time-out.
    EXPECT_LT(this->clock.nowUs() - start, 1000000);

    for (const char* direction : {"Pin 7", "Pin 4"})
        EXPECT_FALSE(this->list(direction)->isEnabled()) << direction;
    EXPECT_EQ(this->list("Pin 7")->currentText(), "IN");
    EXPECT_EQ(this->list("Pin 4")->currentText(), "OUT");
    this->expectOutputsLive("7", false);
    this->expectOutputsLive("4", true);
    EXPECT_TRUE(this->pinRoles().startsWith("Pin 4: output Exposure; Pin 6: output Strobe; Pin 7: input;"));
}

TYPED_TEST(GpioPages, ReadShowsTheLevelsTheCameraReadsOnItsInputs)
{
    this->given("GPIO-MODE  4 0");
    this->openPage();
    const QString unread = TypeParam::kReadsInputsWhenOpening ? "GPI-Pin (7) = 0" : "GPI-Pin (7) = not read";
    EXPECT_EQ(this->label("GPI-Pin (7)"), unread);

    const std::pair<int, int> levels[] = {{7, 1}, {10, 0}, {11, 1}, {4, 1}};
    for (const auto& [pin, level] : levels)
        this->camera->setInputLevel(pin, level);
    this->button("Read")->click();
    EXPECT_EQ(this->sentSinceLastLook(), kInputReads);
    EXPECT_EQ(this->label("GPI-Pin (7)"), "GPI-Pin (7) = 1");
    EXPECT_EQ(this->label("GPI-Pin (10)"), "GPI-Pin (10) = 0");
    EXPECT_EQ(this->label("GPI-Pin (11)"), "GPI-Pin (11) = 1");
    EXPECT_EQ(this->label("GPI-Pin (4)"), "GPI-Pin (4) = 1");

    this->camera->setInputLevel(10, 1);
    this->camera->setInputLevel(4, 0);
    this->button("Read")->click();
    EXPECT_EQ(this->label("GPI-Pin (10)"), "GPI-Pin (10) = 1");
    EXPECT_EQ(this->label("GPI-Pin (4)"), "GPI-Pin (4) = 0");
}

TYPED_TEST(GpioPages, TypedTimesThatAreNotWholeMicrosecondsSendNothing)
{
    this->openPage();
    for (const char* field : {"Time (4)", "Delay (9)", "Cycle", "Duty"}) {
        for (const char* typed : {"", "abc", "12x", "2.5", "-1", "99999999999"}) {
            QLineEdit* edit = this->edit(field);
            typeAndEnter(edit, typed);
            EXPECT_EQ(this->sentSinceLastLook(), QByteArrayList{}) << field << " \"" << typed << '"';
            EXPECT_EQ(edit->text(), typed);
        }
    }
}
