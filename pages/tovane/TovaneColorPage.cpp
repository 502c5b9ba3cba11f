#include "TovaneColorPage.h"

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

// In reading order on the page: offset X and width on the first row, offset
// Y and height below.
const TovaneColorSettings::Side kSidesShown[] = {TovaneColorSettings::OffsetX, TovaneColorSettings::Width,
                                                 TovaneColorSettings::OffsetY, TovaneColorSettings::Height};

QSlider* makePlainSlider(QWidget* parent, int min, int max)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(min, max);
    return slider;
}

} // namespace

CTovaneColorPage::CTovaneColorPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* column = new QVBoxLayout;
    column->addWidget(buildGains());
    column->addWidget(buildBalance());
    column->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column);
    layout->addWidget(makeRefreshButton(), 0, Qt::AlignTop);

    declareBindings();
}

QWidget* CTovaneColorPage::buildGains()
{
    auto& s = settingsAs<Settings>();
    auto* box = new QGridLayout;
    for (int channel = 0; channel < kChannels; ++channel) {
        m_gainEdits[channel] = makeEdit(this);
        m_gainSliders[channel] = makePlainSlider(this, kFineGainMin, kFineGainMax);
        box->addWidget(makeLabel(this, s.gains[channel]->caption(), m_gainEdits[channel]), channel, 0);
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
    const auto& s = settingsAs<Settings>();
    int place = 0;
    for (const Side side : kSidesShown) {
        m_areaEdits[side] = makeEdit(this);
        m_areaSliders[side] = makePlainSlider(this, kAreaSliderMin, kAreaSliderMax);
        auto* cell = new QVBoxLayout;
        cell->addWidget(m_areaEdits[side]);
        cell->addWidget(m_areaSliders[side]);
        const int row = 2 + place / 2;
        const int column = 2 * (place % 2);
        box->addWidget(makeLabel(this, s.area[side]->caption(), m_areaEdits[side]), row, column);
        box->addLayout(cell, row, column + 1);
        ++place;
    }
    return makeGroup(this, QString(), box);
}

void CTovaneColorPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    for (int channel = 0; channel < kChannels; ++channel) {
        // Dragging streams the gain without waiting; Enter waits for the camera.
        bind().slider(m_gainSliders[channel], *s.gains[channel]);
        bind().edit(m_gainEdits[channel], *s.gains[channel]);
    }
    bind().combo(m_balanceMode, *s.balanceMode).send(SendMode::line());
    bind().check(m_areaHighlight, *s.areaHighlight).send(SendMode::line());
    for (int side = 0; side < kSides; ++side) {
        // An area slider waits for each answer; without a range from the
        // camera it keeps its own.
        bind().slider(m_areaSliders[side], *s.area[side]).send(SendMode::transact()).rangeFromCamera(true);
        bind().edit(m_areaEdits[side], *s.area[side]);
    }
}
