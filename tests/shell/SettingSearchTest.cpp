// Finding a setting on any page of a panel by the keyboard, against the
// simulated cameras: what the list shows, where Enter goes, what Escape
// undoes, and that the camera is asked nothing for any of it.

#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanel.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "Page.h"
#include "QtPrinters.h"
#include "SettingSearch.h"
#include "SimulatedCameras.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A panel of a simulated camera, shown and active, as the user has it.
class SearchedPanel {
public:
    explicit SearchedPanel(const QString& model) : m_model(model)
    {
        const QString port = SimulatedCameras::portOf(model);
        m_window.setPortChooser([port](const QString&, qint32) { return std::optional<PortChoice>({port, 9600}); });
        m_window.OnInitDialog();
        panel = m_window.brevoPanel() ? static_cast<ControlPanel*>(m_window.brevoPanel())
                                      : static_cast<ControlPanel*>(m_window.tovanePanel());
        panel->show();
        QApplication::setActiveWindow(panel);
        m_receivedBefore = m_cameras.received(model).size();
    }
    ~SearchedPanel() { m_window.close(); }

    // "Page KEY" of each setting listed, in order.
    QStringList hits() const
    {
        QStringList hits;
        for (const SettingHit& hit : panel->search()->hits())
            hits << panel->tabs()->tabText(hit.tab) + ' ' + QString::fromLatin1(hit.setting->key());
        return hits;
    }

    // Every setting of the page of that title, as hits() shows them.
    QStringList settingsOfPage(const QString& title) const
    {
        QStringList settings;
        for (int tab = 0; tab < panel->tabs()->count(); ++tab) {
            if (panel->tabs()->tabText(tab) != title)
                continue;
            for (const Setting* setting : panel->page(tab)->pageSettings().settings())
                settings << title + ' ' + QString::fromLatin1(setting->key());
        }
        return settings;
    }

    // The keys the user presses, to whatever has the focus.
    void press(const QKeySequence& keys)
    {
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(focusedWidget(), keys[i].key(), keys[i].keyboardModifiers());
    }
    void type(const QString& text) { QTest::keyClicks(focusedWidget(), text); }

    // "Page KEY" of the setting whose control has the focus.
    QString focused() const
    {
        const int tab = panel->tabs()->currentIndex();
        for (const Binding* binding : panel->page(tab)->bindings().all()) {
            if (binding->setting() && binding->widgets().contains(QApplication::focusWidget()))
                return panel->tabs()->tabText(tab) + ' ' + QString::fromLatin1(binding->setting()->key());
        }
        return QStringLiteral("(no setting's control)");
    }

    QByteArrayList sentSinceOpened() { return m_cameras.received(m_model).mid(m_receivedBefore); }

    ControlPanel* panel = nullptr;

private:
    QWidget* focusedWidget() const { return QApplication::focusWidget() ? QApplication::focusWidget() : panel; }

    QString m_model;
    SimulatedCameras m_cameras;
    CapturedMessages m_messages;
    CCameraLinkDlg m_window{m_cameras.clock};
    qsizetype m_receivedBefore = 0;
};

QStringList rowTexts(const QTreeWidget* list, int row)
{
    QStringList texts;
    if (const QTreeWidgetItem* item = list->topLevelItem(row)) {
        for (int column = 0; column < item->columnCount(); ++column)
            texts << item->text(column);
    }
    return texts;
}

} // namespace

TEST(SettingSearch, ListsTheSettingsOfEveryPageByCaptionCommandWordOrPage)
{
    struct Case {
        const char* query;
        QStringList hits;     // "Page KEY"; a page's title alone: every setting of that page
        QStringList firstRow; // page, caption, command word, the camera's value
    };
    const QMap<QString, QList<Case>> casesByModel = {
        {"PTM-TW640",
         {{"lower",
           {"Gain AGC-LOWER", "Gain AE-LOWER", "Gain TRIGGER-RANGE-LOWERLIMIT"},
           {"Gain", "GainAuto Lower", "AGC-LOWER", "0"}},
          {"auto LOWER", {"Gain AGC-LOWER", "Gain AE-LOWER"}, {"Gain", "GainAuto Lower", "AGC-LOWER", "0"}},
          {"ae-lower", {"Gain AE-LOWER"}, {"Gain", "ExposureAuto Lower", "AE-LOWER", "10"}},
          {"gain-fine",
           {"Gain GAIN-FINE", "Defect GAIN-FINE", "Color RGAIN-FINE", "Color GGAIN-FINE", "Color BGAIN-FINE"},
           {"Gain", "Step", "GAIN-FINE", "0"}},
          {"FrameBuffer", {"FrameBuffer"}, {}},
          {"no such setting", {}, {}}}},
        {"PTM-R560CL",
         {{"binning", {"General HBIN", "General VBIN"}, {"General", "H Binning", "HBIN", "1"}},
          {"AutoArea", {"AutoArea"}, {}}}},
    };
    for (auto it = casesByModel.cbegin(); it != casesByModel.cend(); ++it) {
        SearchedPanel searched(it.key());
        for (const Case& c : it.value()) {
            SCOPED_TRACE(it.key().toStdString() + ": " + c.query);
            searched.panel->search()->field()->setText(c.query);
            const QStringList expected = c.hits.size() == 1 && !c.hits.first().contains(' ')
                                             ? searched.settingsOfPage(c.hits.first())
                                             : c.hits;
            EXPECT_EQ(searched.hits(), expected);
            EXPECT_EQ(searched.panel->search()->results()->topLevelItemCount(), expected.size());
            if (!c.firstRow.isEmpty()) {
                EXPECT_EQ(rowTexts(searched.panel->search()->results(), 0), c.firstRow);
            }
        }
        EXPECT_EQ(searched.sentSinceOpened(), QByteArrayList());
    }
}

TEST(SettingSearch, EnterOrADoubleClickGoesToTheSettingsPageAndControl)
{
    struct Case {
        const char* model;
        const char* query;
        QKeySequence keys; // pressed after typing; none: a double click on the first row
        const char* focused;
    };
    const QList<Case> cases = {
        {"PTM-TW640", "lower", QKeySequence(Qt::Key_Return), "Gain AGC-LOWER"},
        {"PTM-TW640", "lower", QKeySequence(Qt::Key_Down, Qt::Key_Enter), "Gain AE-LOWER"},
        {"PTM-TW640", "rgain", QKeySequence(Qt::Key_Tab, Qt::Key_Return), "Color RGAIN-FINE"},
        {"PTM-TW640", "trg-src", {}, "Gain TRG-SRC"},
        {"PTM-R560CL", "test chart", QKeySequence(Qt::Key_Return), "General TESTCHART"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + ": " + c.query);
        SearchedPanel searched(c.model);
        searched.press(QKeySequence::Find);
        ASSERT_EQ(QApplication::focusWidget(), searched.panel->search()->field());
        searched.type(c.query);
        EXPECT_FALSE(searched.panel->tabs()->isVisible());
        if (c.keys.isEmpty()) {
            QTreeWidget* list = searched.panel->search()->results();
            emit list->itemDoubleClicked(list->topLevelItem(0), 0);
        } else {
            searched.press(c.keys);
        }
        EXPECT_TRUE(searched.panel->tabs()->isVisible());
        EXPECT_EQ(searched.focused(), c.focused);
        EXPECT_NE(searched.panel->findChild<QWidget*>("settingSearchMark"), nullptr);
        EXPECT_EQ(searched.sentSinceOpened(), QByteArrayList());
    }
}

TEST(SettingSearch, EscapeClearsTheSearchAndGivesTheFocusBack)
{
    struct Case {
        QKeySequence keys; // after typing, before Escape
    };
    const QList<Case> cases = {{{}}, {QKeySequence(Qt::Key_Down)}, {QKeySequence(Qt::Key_Tab, Qt::Key_Down)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys.toString().toStdString());
        SearchedPanel searched("PTM-TW640");
        searched.panel->tabs()->setCurrentIndex(1);
        QWidget* before = searched.panel->page(1)->bindings().all().first()->widgets().first();
        before->setFocus();
        searched.press(QKeySequence::Find);
        searched.type("black");
        searched.press(c.keys);
        searched.press(QKeySequence(Qt::Key_Escape));
        EXPECT_EQ(searched.panel->search()->field()->text(), QString());
        EXPECT_FALSE(searched.panel->search()->results()->isVisible());
        EXPECT_TRUE(searched.panel->tabs()->isVisible());
        EXPECT_EQ(searched.panel->tabs()->currentIndex(), 1);
        EXPECT_EQ(QApplication::focusWidget(), before);
        EXPECT_EQ(searched.sentSinceOpened(), QByteArrayList());
    }
}
