// Slider notifications as the user produces them with keys, the mouse and the
// thumb, and the slider bindings that react to all or some of them.

#include "Controls.h"
#include "PageTesting.h"

#include <QApplication>
#include <QStyle>
#include <QWheelEvent>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

using Kind = SliderNotification;

class Recorder {
public:
    explicit Recorder(QSlider* slider) : notifier(slider)
    {
        QObject::connect(&notifier, &SliderNotifier::notified,
                         [this](Kind kind, int position) { seen.append({kind, position}); });
    }
    SliderNotifier notifier;
    QList<std::pair<Kind, int>> seen;
};

struct KeyCase {
    Qt::Key key;
    Kind kind;
    int position;
};

void PrintTo(const KeyCase& value, std::ostream* out)
{
    *out << QKeySequence(value.key).toString().toStdString();
}

class SliderKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SliderKeys, EachKeyGivesItsNotificationWithTheNewPositionThenTheEnd)
{
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 100);
    slider.setPageStep(10);
    slider.setValue(50);
    Recorder recorder(&slider);

    QTest::keyClick(&slider, GetParam().key);

    const QList<std::pair<Kind, int>> expected{{GetParam().kind, GetParam().position}, {Kind::EndScroll, GetParam().position}};
    EXPECT_EQ(recorder.seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, SliderKeys,
                         ::testing::Values(KeyCase{Qt::Key_Right, Kind::LineRight, 51}, KeyCase{Qt::Key_Left, Kind::LineLeft, 49},
                                           KeyCase{Qt::Key_PageUp, Kind::PageRight, 60},
                                           KeyCase{Qt::Key_PageDown, Kind::PageLeft, 40}, KeyCase{Qt::Key_Home, Kind::Left, 0},
                                           KeyCase{Qt::Key_End, Kind::Right, 100}));

TEST(SliderWheel, TheWheelMovesByLines)
{
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 100);
    slider.setSingleStep(1);
    slider.setValue(50);
    Recorder recorder(&slider);

    for (int delta : {120, -120}) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &wheel);
    }

    ASSERT_EQ(recorder.seen.size(), 2);
    EXPECT_EQ(recorder.seen[0].first, Kind::LineRight);
    EXPECT_GT(recorder.seen[0].second, 50);
    EXPECT_EQ(recorder.seen[1], std::make_pair(Kind::LineLeft, 50));
}

QPoint handleCentre(QSlider& slider)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.subControls = QStyle::SC_All;
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider).center();
}

TEST(SliderMouse, DraggingTheThumbTracksEveryMoveAndEndsOnceWhenReleased)
{
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 100);
    slider.resize(300, 30);
    slider.show();
    Recorder recorder(&slider);

    const QPoint start = handleCentre(slider);
    QTest::mousePress(&slider, Qt::LeftButton, {}, start);
    QTest::mouseMove(&slider, start + QPoint(60, 0));
    QTest::mouseMove(&slider, start + QPoint(120, 0));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, start + QPoint(120, 0));

    ASSERT_EQ(recorder.seen.size(), 3);
    EXPECT_EQ(recorder.seen[0].first, Kind::ThumbTrack);
    EXPECT_EQ(recorder.seen[1].first, Kind::ThumbTrack);
    EXPECT_GT(recorder.seen[1].second, recorder.seen[0].second);
    EXPECT_EQ(recorder.seen[2], std::make_pair(Kind::EndScroll, recorder.seen[1].second));
    EXPECT_EQ(slider.value(), recorder.seen[1].second);
}

TEST(SliderMouse, AClickInTheChannelMovesAPageThenEnds)
{
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 100);
    slider.setPageStep(10);
    slider.resize(300, 30);
    slider.show();
    Recorder recorder(&slider);

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(280, 15));

    const QList<std::pair<Kind, int>> expected{{Kind::PageRight, 10}, {Kind::EndScroll, 10}};
    EXPECT_EQ(recorder.seen, expected);
}

class SliderBindingTest : public PageTest {
protected:
    SliderBindingTest()
    {
        slider = makeSlider(&page, 0, 127);
        edit = makeEdit(&page);
        readout = new QLabel(&page);
    }
    Setting& setting(const QByteArray& word)
    {
        settings.push_back(std::make_unique<Setting>(word, QString::fromLatin1(word), Setting::Form::Number));
        return *settings.back();
    }
    QWidget page;
    QSlider* slider;
    QLineEdit* edit;
    QLabel* readout;
    std::vector<std::unique_ptr<Setting>> settings;
    Bindings bindings{sendPath};
};

TEST_F(SliderBindingTest, ADragSendsEveryPositionAndTheFinalOneOnceMoreWithTheEditFollowing)
{
    QStringList editShown;
    Setting& gain = setting("GAIN-FINE");
    bindings.edit(edit, gain);
    bindings.slider(slider, gain).then([&](int) { editShown << edit->text(); });

    drag(slider, {3, 4, 6});

    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE 3", "GAIN-FINE 4", "GAIN-FINE 6", "GAIN-FINE 6"}));
    EXPECT_EQ(editShown, (QStringList{"3", "4", "6", "6"}));
}

TEST_F(SliderBindingTest, ThumbTrackOnlySlidersIgnoreKeysClicksAndTheRelease)
{
    Setting& vsub = setting("VSUB-EXTERNAL");
    bindings.slider(slider, vsub).on(Kind::ThumbTrack).send(SendMode::transact());
    bindings.readout(readout, vsub);

    pressKey(slider, Qt::Key_Right);
    pressKey(slider, Qt::Key_PageUp);
    pressKey(slider, Qt::Key_End);
    EXPECT_TRUE(sent().isEmpty());

    drag(slider, {120, 127});
    EXPECT_EQ(sent(), (QByteArrayList{"VSUB-EXTERNAL 120", "VSUB-EXTERNAL 127"}));
    EXPECT_EQ(readout->text(), QStringLiteral("127"));
}

TEST_F(SliderBindingTest, PagingAndThumbTrackSlidersIgnoreLinesAndTheEnd)
{
    bindings.slider(slider, setting("SHARP")).on(Kind::PageLeft | Kind::PageRight | Kind::ThumbTrack);

    pressKey(slider, Qt::Key_Right);
    pressKey(slider, Qt::Key_PageUp);
    pressKey(slider, Qt::Key_PageDown);

    EXPECT_EQ(sent(), (QByteArrayList{"SHARP 11", "SHARP 1"}));
}

TEST_F(SliderBindingTest, APageMayHandleASlidersNotificationsItself)
{
    QList<std::pair<Kind, int>> seen;
    bindings.onSlider(slider, QStringLiteral("Hue"), [&](Kind kind, int position) { seen.append({kind, position}); });

    drag(slider, {40});
    pressKey(slider, Qt::Key_Left);

    const QList<std::pair<Kind, int>> expected{
        {Kind::ThumbTrack, 40}, {Kind::EndScroll, 40}, {Kind::LineLeft, 39}, {Kind::EndScroll, 39}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(slider->accessibleName(), QStringLiteral("Hue slider"));
}

TEST_F(SliderBindingTest, ACameraValueBeyondTheRangeMovesTheSliderToItsEndAndIsKeptAsGiven)
{
    Setting& gain = setting("GAIN-FINE");
    bindings.slider(slider, gain);
    bindings.edit(edit, gain);

    gain.setNumber(300);

    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(slider->value(), 127);
    EXPECT_EQ(edit->text(), QStringLiteral("300"));
    EXPECT_EQ(gain.fileLine(), QByteArray("GAIN-FINE 300"));
}

} // namespace
