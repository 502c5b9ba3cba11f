#include "TovaneColorPage.h"

#include "CommandWords.h"
#include "Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// Fine gains count 256 as a gain of one.
constexpr int kFineGainMin = 256;
constexpr int kFineGainMax = 4095;
// The area sliders' range when the camera gives none.
constexpr int kAreaSliderMin = 0;
constexpr int kAreaSliderMax = 100;

struct Control {
    const char* caption;
    const char* word;
};

const Control kChannels[] = {{"RGain", cmd::RGAIN_FINE}, {"GGain", cmd::GGAIN_FINE}, {"BGain", cmd::BGAIN_FINE}};

// In reading order: offset X and width on the first row, offset Y and height below.
const Control kSides[] = {
    {"OffsetX", cmd::AWB_OFFSETX}, {"Width", cmd::AWB_WIDTH}, {"OffsetY", cmd::AWB_OFFSETY}, {"Height", cmd::AWB_HEIGHT}};

QSlider* makePlainSlider(QWidget* parent, int min, int max)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(min, max);
    return slider;
}

} // namespace

CTovaneColorPage::CTovaneColorPage(PageContext context, QWidget* parent)
    : Page(context, parent), m_areaRanges(context.connection)
{
    auto* column = new QVBoxLayout;
    column->addWidget(buildGains());
    column->addWidget(buildBalance());
    column->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column);
    layout->addWidget(makeRefreshButton(), 0, Qt::AlignTop);

    declareBindings();
    declareLoad();
}

void CTovaneColorPage::OnInitDialog()
{
    m_areaRanges.run();
    Page::OnInitDialog();
}

QWidget* CTovaneColorPage::buildGains()
{
    auto* box = new QGridLayout;
    for (int channel = 0; channel < ChannelCount; ++channel) {
        m_gainEdits[channel] = makeEdit(this);
        m_gainSliders[channel] = makePlainSlider(this, kFineGainMin, kFineGainMax);
        box->addWidget(makeLabel(this, QString::fromLatin1(kChannels[channel].caption), m_gainEdits[channel]), channel, 0);
        box->addWidget(m_gainEdits[channel], channel, 1);
        box->addWidget(m_gainSliders[channel], channel, 2);
    }
    box->setColumnStretch(2, 1);
    return makeGroup(this, QString(), box);
}

QWidget* CTovaneColorPage::buildBalance()
{
    m_balanceMode = makeList(this, {QStringLiteral("0:OFF"), QStringLiteral("1:Once"), QStringLiteral("2:Continuous")});
    m_areaHighlight = new QCheckBox(QStringLiteral("AWB Detect Area HighLight"), this);

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("AutoWhiteBalance"), m_balanceMode), 0, 0);
    box->addWidget(m_balanceMode, 0, 1, 1, 3);
    box->addWidget(m_areaHighlight, 1, 0, 1, 4);
    // Each side's edit sits above its small slider, two sides to a row.
    for (int side = 0; side < SideCount; ++side) {
        m_areaEdits[side] = makeEdit(this);
        m_areaSliders[side] = makePlainSlider(this, kAreaSliderMin, kAreaSliderMax);
        auto* cell = new QVBoxLayout;
        cell->addWidget(m_areaEdits[side]);
        cell->addWidget(m_areaSliders[side]);
        const int row = 2 + side / 2;
        const int column = 2 * (side % 2);
        box->addWidget(makeLabel(this, QString::fromLatin1(kSides[side].caption), m_areaEdits[side]), row, column);
        box->addLayout(cell, row, column + 1);
    }
    return makeGroup(this, QString(), box);
}

void CTovaneColorPage::declareBindings()
{
    for (int channel = 0; channel < ChannelCount; ++channel) {
        const QString caption = QString::fromLatin1(kChannels[channel].caption);
        const char* word = kChannels[channel].word;
        // Dragging streams the gain without waiting; Enter waits for the camera.
        m_gainBindings[channel] = &bind().slider(m_gainSliders[channel], caption, word).edit(m_gainEdits[channel]);
        bind().edit(m_gainEdits[channel], caption, word).slider(m_gainSliders[channel]).wholeNumbersOnly();
    }
    bind().combo(m_balanceMode, QStringLiteral("AutoWhiteBalance"), cmd::AWB).send(SendMode::line());
    bind().check(m_areaHighlight, cmd::AWB_FRAME_HIGHLIGHT).send(SendMode::line());
    for (int side = 0; side < SideCount; ++side) {
        const QString caption = QString::fromLatin1(kSides[side].caption);
        const char* word = kSides[side].word;
        // An area slider waits for each answer; Enter in an area edit leaves
        // its slider where it is.
        m_areaBindings[side] = &bind()
                                    .slider(m_areaSliders[side], caption, word)
                                    .edit(m_areaEdits[side])
                                    .send(SendMode::transact());
        bind().edit(m_areaEdits[side], caption, word).wholeNumbersOnly();
    }
}

void CTovaneColorPage::declareLoad()
{
    // The camera's order for the sides of the rectangle.
    const Side readOrder[] = {Width, Height, OffsetX, OffsetY};
    for (Side side : readOrder)
        m_areaRanges.rangeIfGiven(kSides[side].word, m_areaSliders[side]);

    load().optionalIndex(cmd::AWB, m_balanceMode);
    for (int channel = 0; channel < ChannelCount; ++channel)
        load().optionalNumber(kChannels[channel].word, *m_gainBindings[channel]);
    load().optionalCheck(cmd::AWB_FRAME_HIGHLIGHT, m_areaHighlight);
    for (Side side : readOrder)
        load().optionalNumber(kSides[side].word, *m_areaBindings[side]);
}
