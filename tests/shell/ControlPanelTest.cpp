#include "SendPath.h"
#include "QtPrinters.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "LinkFixture.h"
#include "TestPages.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

const QStringList kBrevoTitles = {"General", "Gain", "Exposure", "DSP", "GPIO", "AutoArea", "Shading"};
const QStringList kTovaneTitles = {"General", "Gain",         "Color",        "LUT",      "GPIO",       "Shading",
                                   "Defect",  "AreaGain",     "AreaExposure", "MultiROI", "FrameBuffer"};

QStringList tabTitles(const ControlPanel& panel)
{
    QStringList titles;
    for (int i = 0; i < panel.tabs()->count(); ++i)
        titles << panel.tabs()->tabText(i);
    return titles;
}

QList<int> visiblePages(const ControlPanel& panel)
{
    QList<int> visible;
    for (int i = 0; i < panel.tabs()->count(); ++i) {
        if (panel.tabs()->widget(i)->isVisible())
            visible << i;
    }
    return visible;
}

} // namespace

class ControlPanelTest : public LinkFixture {
protected:
    SendPath sendPath{connection};
    QList<QPointer<RecordingPage>> pages;
};

TEST_F(ControlPanelTest, BothPanelsShowTheirPagesAsTabsInOrderWithOnlyTheFirstVisible)
{
    CControlPanelPTM_Brevo brevo(sendPath, "PTM-R560CL", 4, recordingPages(kBrevoTitles, &pages));
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, recordingPages(kTovaneTitles, &pages));
    brevo.show();
    tovane.show();
    EXPECT_EQ(brevo.windowTitle(), "Feature Control Brevo");
    EXPECT_EQ(tovane.windowTitle(), "PTM-TW Series Control");
    EXPECT_EQ(tabTitles(brevo), kBrevoTitles);
    EXPECT_EQ(tabTitles(tovane), kTovaneTitles);
    EXPECT_EQ(visiblePages(brevo), QList<int>{0});
    EXPECT_EQ(visiblePages(tovane), QList<int>{0});
    EXPECT_EQ(brevo.page(0), pages.at(0).data());
}

TEST_F(ControlPanelTest, PagesAreGivenTheConnectionAndTheSensorTapCount)
{
    CControlPanelPTM_Brevo brevo(sendPath, "PTM-R560CL", 4, recordingPages({"General", "Gain"}, &pages));
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, recordingPages({"General"}, &pages));
    // A page is built when its tab is shown or it is asked for.
    ASSERT_EQ(pages.size(), 2);
    const QList<std::pair<Page*, int>> taps = {{brevo.page(0), 4}, {brevo.page(1), 4}, {tovane.page(0), 1}};
    ASSERT_EQ(pages.size(), 3);
    for (const auto& [page, sensorTaps] : taps) {
        EXPECT_EQ(&static_cast<RecordingPage*>(page)->givenConnection(), &connection);
        EXPECT_EQ(static_cast<RecordingPage*>(page)->givenSensorTaps(), sensorTaps);
    }
    EXPECT_EQ(brevo.sensorTaps(), 4);
    EXPECT_EQ(brevo.model(), "PTM-R560CL");
}

TEST_F(ControlPanelTest, SelectingATabShowsOnlyItsPageAtTheSameTopLeftCorner)
{
    // The Shading page is smaller than the others.
    CControlPanelPTM_Brevo brevo(sendPath, "PTM-R560CL", 2,
                                 recordingPages(kBrevoTitles, &pages, {{6, QSize(200, 120)}}));
    brevo.show();
    const QPoint generalCorner = pages.at(0)->mapTo(&brevo, QPoint(0, 0));
    brevo.tabs()->tabBar()->setCurrentIndex(6);
    EXPECT_EQ(visiblePages(brevo), QList<int>{6});
    EXPECT_EQ(brevo.page(6)->size(), QSize(200, 120));
    EXPECT_EQ(brevo.page(6)->mapTo(&brevo, QPoint(0, 0)), generalCorner);
    brevo.tabs()->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(visiblePages(brevo), QList<int>{2});
}

TEST_F(ControlPanelTest, APageThatCannotBeBuiltStillHasItsTab)
{
    QList<PageEntry> entries = recordingPages({"General", "Gain"}, &pages);
    entries.insert(1, PageEntry{"Broken", [](PageContext, QWidget*) -> Page* { return nullptr; }});
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, entries);
    tovane.show();
    EXPECT_EQ(tabTitles(tovane), (QStringList{"General", "Broken", "Gain"}));
    EXPECT_EQ(tovane.page(1), nullptr);
    tovane.tabs()->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(visiblePages(tovane), QList<int>{2});
}

TEST_F(ControlPanelTest, EnterAndEscapeInAPageNeitherCloseNorHideThePanel)
{
    CControlPanelPTM_Brevo brevo(sendPath, "PTM-R560CL", 2, recordingPages({"General"}, &pages));
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, recordingPages({"General"}, &pages));
    const QList<ControlPanel*> panels = {&brevo, &tovane};
    for (int i = 0; i < panels.size(); ++i) {
        panels[i]->show();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(pages.at(i)->edit, key);
            QTest::keyClick(panels[i], key);
        }
        EXPECT_TRUE(panels[i]->isVisible()) << i;
        // Enter reached the page's own edit box.
        EXPECT_EQ(pages.at(i)->enterPresses, 2) << i;
    }
}

TEST_F(ControlPanelTest, TheCloseBoxOnlyHidesAndTheSelectedTabSurvives)
{
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, recordingPages(kTovaneTitles, &pages));
    tovane.show();
    tovane.tabs()->tabBar()->setCurrentIndex(5);
    EXPECT_TRUE(tovane.close());
    EXPECT_FALSE(tovane.isVisible());
    ASSERT_NE(tovane.page(5), nullptr);
    tovane.show();
    EXPECT_EQ(tovane.tabs()->currentIndex(), 5);
    EXPECT_EQ(visiblePages(tovane), QList<int>{5});
}

TEST_F(ControlPanelTest, TheBrevoCloseButtonHidesThePanel)
{
    CControlPanelPTM_Brevo brevo(sendPath, "PTM-R560CL", 2, recordingPages(kBrevoTitles, &pages));
    brevo.show();
    QPushButton* close = nullptr;
    for (QPushButton* button : brevo.findChildren<QPushButton*>()) {
        if (button->text() == "Close")
            close = button;
    }
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_FALSE(brevo.isVisible());
    EXPECT_EQ(brevo.pageCount(), kBrevoTitles.size());
}

TEST_F(ControlPanelTest, DraggingTheTovanePanelDragsItsFollower85PixelsAboveTheClientArea)
{
    QWidget follower;
    follower.resize(300, 50);
    follower.show();
    CControlPanelTovane tovane(sendPath, "PTM-TW640", 1, recordingPages({"General"}, &pages));
    tovane.setFollower(&follower);
    tovane.show();
    for (const QPoint to : {QPoint(40, 200), QPoint(300, 150), QPoint(10, 400)}) {
        tovane.move(to);
        QApplication::processEvents();
        EXPECT_EQ(tovane.frameGeometry().topLeft(), to);
        EXPECT_EQ(follower.frameGeometry().topLeft(), tovane.geometry().topLeft() - QPoint(0, 85));
    }
}
