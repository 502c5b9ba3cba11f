// The camera's reason for a refusal, shown beside the control: asked only
// after a refusal and the camera's half second, and never left over from an
// earlier refusal.

#include "LastError.h"
#include "PageTesting.h"

#include <QCheckBox>

namespace {

class ExplainingPage : public Page {
public:
    explicit ExplainingPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        box = new QCheckBox(QStringLiteral("Enable All"), this);
        reason = new QLabel(QStringLiteral("---"), this);
        explainRefusals(bind().check(box, "AREA-EXPOSURE-ENABLE"), connection(), reason, [this] {
            undoneAtUs = this->connection().clock().nowUs();
            box->setChecked(false);
        });
    }

    QCheckBox* box;
    QLabel* reason;
    qint64 undoneAtUs = -1;
};

class LastErrorTest : public PageTest {
protected:
    LastErrorTest()
    {
        page = open<ExplainingPage>();
        explaining = static_cast<ExplainingPage*>(page.get());
        camera->set("GET-LAST-ERROR", "No area enabled");
        camera->onLine = [this](const QByteArray& line) { readAtUs[line] = clock.nowUs(); };
    }

    std::unique_ptr<Page> page;
    ExplainingPage* explaining = nullptr;
    QMap<QByteArray, qint64> readAtUs;
};

TEST_F(LastErrorTest, ARefusalIsUndoneThenExplainedAfterHalfASecond)
{
    camera->refused << "AREA-EXPOSURE-ENABLE";
    explaining->box->click();

    EXPECT_EQ(sent(), (QByteArrayList{"AREA-EXPOSURE-ENABLE 1", "GET-LAST-ERROR"}));
    EXPECT_FALSE(explaining->box->isChecked());
    EXPECT_EQ(explaining->reason->text(), QStringLiteral("No area enabled"));
    // Undone once the camera has answered, then the pause, on the connection's clock.
    EXPECT_GE(explaining->undoneAtUs, readAtUs.value("AREA-EXPOSURE-ENABLE 1"));
    const qint64 pauseUs = readAtUs.value("GET-LAST-ERROR") - explaining->undoneAtUs;
    EXPECT_GE(pauseUs, kLastErrorDelayMs * 1000);
    EXPECT_LT(pauseUs, (kLastErrorDelayMs + 50) * 1000);
}

TEST_F(LastErrorTest, AnAcceptedSendEmptiesTheReasonAndAsksNothingMore)
{
    camera->refused << "AREA-EXPOSURE-ENABLE";
    explaining->box->click();
    camera->refused.clear();
    camera->forgetLines();
    explaining->undoneAtUs = -1;

    explaining->box->click();

    EXPECT_EQ(sent(), QByteArrayList{"AREA-EXPOSURE-ENABLE 1"});
    EXPECT_TRUE(explaining->box->isChecked());
    EXPECT_EQ(explaining->reason->text(), QString());
    EXPECT_EQ(explaining->undoneAtUs, -1);
}

TEST_F(LastErrorTest, AReasonThatCannotBeReadShowsNothing)
{
    camera->refused << "AREA-EXPOSURE-ENABLE" << "GET-LAST-ERROR";
    explaining->box->click();
    EXPECT_EQ(explaining->reason->text(), QString());
}

} // namespace
