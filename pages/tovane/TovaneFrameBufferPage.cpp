#include "TovaneFrameBufferPage.h"

#include "Controls.h"
#include "LastError.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The radio buttons of a group, top to bottom, then whatever follows them.
QVBoxLayout* stacked(const RadioGroup* group, QWidget* after = nullptr)
{
    auto* layout = new QVBoxLayout;
    for (int i = 0; i < group->count(); ++i)
        layout->addWidget(group->button(i));
    if (after)
        layout->addWidget(after);
    return layout;
}

} // namespace

CTovaneFrameBufferPage::CTovaneFrameBufferPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    // Made in reading order, which is the order Tab visits them.
    m_averaging = new RadioGroup(this, {{QStringLiteral("1 Frame"), 1},
                                        {QStringLiteral("2 Frames"), 2},
                                        {QStringLiteral("4 Frames"), 4},
                                        {QStringLiteral("8 Frames"), 8},
                                        {QStringLiteral("16 Frames"), 16}});
    m_averagingError = new QLabel(QStringLiteral("---"), this);
    m_wideDynamicRange = new QCheckBox(QStringLiteral("Enable"), this);
    m_wideDynamicRangeError = new QLabel(QStringLiteral("---"), this);
    auto* tapCaption = new QLabel(QStringLiteral("Frame Operation Tap"), this);
    m_frameOperationTap = new RadioGroup(this, {{QStringLiteral("0 (No conversion)"), 0},
                                                {QStringLiteral("TAP 1"), 1},
                                                {QStringLiteral("TAP2"), 2},
                                                {QStringLiteral("TAP3"), 3}});
    QPushButton* refresh = makeRefreshButton();

    auto* wide = new QVBoxLayout;
    wide->addWidget(m_wideDynamicRange);
    wide->addWidget(m_wideDynamicRangeError);
    auto* tap = stacked(m_frameOperationTap);
    tap->insertWidget(0, tapCaption);

    auto* left = new QVBoxLayout;
    left->addWidget(makeGroup(this, QStringLiteral("Frame Averaging"), stacked(m_averaging, m_averagingError)));
    left->addWidget(makeGroup(this, QStringLiteral("Wide Dynamic Range"), wide));
    left->addLayout(tap);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, refresh}));
    right->addStretch();
    layOutColumns(this, {left, right});

    auto& s = settingsAs<Settings>();
    // The camera's reason for refusing averaging or wide dynamic range is
    // shown in the group as well.
    bind().radios(m_averaging, *s.averaging);
    bind().check(m_wideDynamicRange, *s.wideDynamicRange);
    explainRefusals(*s.averaging, m_averagingError);
    explainRefusals(*s.wideDynamicRange, m_wideDynamicRangeError);
    bind().radios(m_frameOperationTap, *s.frameOperationTap);
    whenChanged(*s.averaging, [this] { showAveraging(); });
}

void CTovaneFrameBufferPage::showAveraging()
{
    // A number of frames the page does not offer shows as "1 Frame".
    const std::optional<int> frames = settingsAs<Settings>().averaging->number();
    if (frames && !m_averaging->buttonFor(*frames))
        m_averaging->show(1);
}
