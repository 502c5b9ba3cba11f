// The camera's reason for a refusal, shown beside the control as well: asked
// at once, the control back at the camera's value, and never left over from
// an earlier refusal.

#include "LastError.h"
#include "PageTesting.h"

#include <QCheckBox>

namespace {

class ExplainingSettings : public PageSettings {
public:
    ExplainingSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        enableAll = &number("AREA-EXPOSURE-ENABLE", QStringLiteral("Enable All"));
    }

    Setting* enableAll = nullptr;
};

class ExplainingPage : public Page {
public:
    using Settings = ExplainingSettings;

    explicit ExplainingPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        box = new QCheckBox(QStringLiteral("Enable All"), this);
        reason = new QLabel(QStringLiteral("---"), this);
        explainRefusals(bind().check(box, *settingsAs<Settings>().enableAll), reason);
    }

    QCheckBox* box;
    QLabel* reason;
};

class LastErrorTest : public PageTest {
protected:
    LastErrorTest()
    {
        camera->set("AREA-EXPOSURE-ENABLE", 0);
        camera->set("GET-LAST-ERROR", "No area enabled");
        page = open<ExplainingPage>();
        explaining = static_cast<ExplainingPage*>(page.get());
        camera->forgetLines();
    }

    void refuseEnabling() { camera->raw["AREA-EXPOSURE-ENABLE 1"] = "AREA-EXPOSURE-ENABLE 1\rNG\r"; }

    std::unique_ptr<Page> page;
    ExplainingPage* explaining = nullptr;
};

TEST_F(LastErrorTest, ARefusalShowsTheCamerasReasonAndItsValue)
{
    refuseEnabling();
    explaining->box->click();

    EXPECT_EQ(sent(), (QByteArrayList{"AREA-EXPOSURE-ENABLE 1", "GET-LAST-ERROR", "AREA-EXPOSURE-ENABLE"}));
    EXPECT_FALSE(explaining->box->isChecked());
    EXPECT_EQ(explaining->reason->text(), QStringLiteral("No area enabled"));
}

TEST_F(LastErrorTest, AnAcceptedSendEmptiesTheReasonAndAsksNothingMore)
{
    refuseEnabling();
    explaining->box->click();
    camera->raw.clear();
    camera->forgetLines();

    explaining->box->click();

    EXPECT_EQ(sent(), QByteArrayList{"AREA-EXPOSURE-ENABLE 1"});
    EXPECT_TRUE(explaining->box->isChecked());
    EXPECT_EQ(explaining->reason->text(), QString());
}

TEST_F(LastErrorTest, AReasonThatCannotBeReadShowsNothing)
{
    refuseEnabling();
    camera->refused << "GET-LAST-ERROR";
    explaining->box->click();
    EXPECT_EQ(explaining->reason->text(), QString());
}

} // namespace
