// The page life cycle: built and loaded by its entry's factory, polling only
// while shown, ticks held back while the connection is busy.

#include "Controls.h"
#include "Link.h"
#include "PageTesting.h"

namespace {

class ExposureSettings : public PageSettings {
public:
    ExposureSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title), exposure(&number("EXP", QStringLiteral("Exposure")))
    {
    }
    Setting* exposure;
};

class PollingPage : public Page {
public:
    using Settings = ExposureSettings;

    explicit PollingPage(PageContext context, QWidget* parent = nullptr) : Page(context, parent)
    {
        exposure = makeEdit(this);
        bind().edit(exposure, *settingsAs<Settings>().exposure);
        pollWhileShown([this] { pageSettings().read(*settingsAs<Settings>().exposure); });
    }
    QLineEdit* exposure;
};

class AverageSettings : public PageSettings {
public:
    AverageSettings(Connection& connection, const QString& title, const CatalogueContext&)
        : PageSettings(connection, title)
    {
        number("AVERAGE", QStringLiteral("Average"));
        waitForRefresh();
    }
};

class SilentPage : public Page {
public:
    using Settings = AverageSettings;
    using Page::Page;
};

using PageLifeTest = PageTest;

TEST_F(PageLifeTest, TheEntrysFactoryHandsOverALoadedPage)
{
    camera->set("EXP", 5000);

    const std::unique_ptr<Page> page = open<PollingPage>();

    EXPECT_EQ(sent(), QByteArrayList{"EXP"});
    EXPECT_EQ(static_cast<PollingPage*>(page.get())->exposure->text(), QStringLiteral("5000"));
}

TEST_F(PageLifeTest, APageMayWaitForItsRefreshButton)
{
    const std::unique_ptr<Page> page = open<SilentPage>();
    EXPECT_TRUE(sent().isEmpty());
    page->LoadFromCamera();
    EXPECT_EQ(sent(), QByteArrayList{"AVERAGE"});
}

TEST_F(PageLifeTest, PollingRunsOnlyWhileThePageIsShownWithAFullPeriodEachTime)
{
    const std::unique_ptr<Page> page = open<PollingPage>();
    PollingTimer* polling = page->polling();
    ASSERT_NE(polling, nullptr);
    EXPECT_FALSE(polling->isActive());

    page->show();
    EXPECT_TRUE(polling->isActive());
    EXPECT_EQ(polling->intervalMs(), 2000);

    page->hide();
    EXPECT_FALSE(polling->isActive());

    page->show();
    EXPECT_TRUE(polling->isActive());
    EXPECT_GT(polling->remainingMs(), 1950);
}

TEST_F(PageLifeTest, ATickReadsTheCameraUnlessAnExchangeIsRunning)
{
    const std::unique_ptr<Page> page = open<PollingPage>();
    auto* exposure = static_cast<PollingPage*>(page.get())->exposure;
    camera->forgetLines();
    camera->set("EXP", 7000);

    {
        Connection::BusyScope busy(connection);
        page->polling()->tick();
    }
    EXPECT_TRUE(sent().isEmpty());

    page->polling()->tick();
    EXPECT_EQ(sent(), QByteArrayList{"EXP"});
    EXPECT_EQ(exposure->text(), QStringLiteral("7000"));
}

} // namespace
