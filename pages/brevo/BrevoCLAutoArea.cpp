#include "BrevoCLAutoArea.h"

#include "CommandWords.h"
#include "Controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

using Side = CBrevoCLAutoArea::Side;

const CBrevoCLAutoArea::AreaWords kAgcWords = {
    "AE/AGC", cmd::AGC_FRAME_HIGHLIGHT, {cmd::AGC_OFFSETX, cmd::AGC_WIDTH, cmd::AGC_OFFSETY, cmd::AGC_HEIGHT}};
const CBrevoCLAutoArea::AreaWords kAwbWords = {
    "AWB", cmd::AWB_FRAME_HIGHLIGHT, {cmd::AWB_OFFSETX, cmd::AWB_WIDTH, cmd::AWB_OFFSETY, cmd::AWB_HEIGHT}};

const char* const kSideCaptions[] = {"OffsetX", "Width", "OffsetY", "Height"};

// The camera's order for reading the sides of an area.
constexpr Side kReadOrder[] = {Side::Width, Side::Height, Side::OffsetX, Side::OffsetY};

// Where each side's caption and edit go about the sketch of the area: along
// its top edge left to right, down its left edge top to bottom.
struct Place {
    int row;
    int column;
};
constexpr Place kPlaces[] = {{0, 1}, {0, 2}, {2, 0}, {4, 0}};

} // namespace

CBrevoCLAutoArea::CBrevoCLAutoArea(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* areas = new QHBoxLayout;
    areas->addWidget(buildArea(QStringLiteral("AE/AGC Detection Area"), kAgcWords, m_agcArea));
    areas->addWidget(buildArea(QStringLiteral("AWB Detection Area"), kAwbWords, m_awbArea));

    auto* left = new QVBoxLayout;
    left->addLayout(areas);
    left->addWidget(buildLimits());
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addStretch();

    layOutColumns(this, {left, right});

    declareBindings();
    declareLoad();
}

QGroupBox* CBrevoCLAutoArea::buildArea(const QString& title, const AreaWords& words, Area& area)
{
    const QString name = QString::fromLatin1(words.name);
    auto* box = new QGridLayout;
    for (int side = 0; side < SideCount; ++side) {
        QLineEdit* edit = makeEdit(this);
        // Both areas have the same sides; the accessible name says which area.
        edit->setAccessibleName(name + ' ' + QString::fromLatin1(kSideCaptions[side]));
        area.edits[side] = edit;
        const Place place = kPlaces[side];
        box->addWidget(makeLabel(this, QString::fromLatin1(kSideCaptions[side]), edit), place.row, place.column);
        box->addWidget(edit, place.row + 1, place.column);
    }
    auto* sketch = new QFrame(this);
    sketch->setFrameShape(QFrame::Box);
    sketch->setMinimumSize(area.edits[Width]->minimumWidth(), area.edits[Width]->minimumWidth() / 2);
    box->addWidget(sketch, 2, 1, 4, 2);

    area.highlight = new QCheckBox(QStringLiteral("Highlight"), this);
    area.highlight->setAccessibleName(name + QStringLiteral(" Highlight"));
    box->addWidget(area.highlight, 6, 0, 1, 3);
    return makeGroup(this, title, box);
}

QWidget* CBrevoCLAutoArea::buildLimits()
{
    m_agcLower = makeEdit(this);
    m_agcUpper = makeEdit(this);
    m_agcSpeed = makeSlider(this, kSpeedMin, kSpeedMax);
    m_aeLower = makeEdit(this);
    m_aeUpper = makeEdit(this);
    m_aeSpeed = makeSlider(this, kSpeedMin, kSpeedMax);

    auto* box = new QGridLayout;
    box->addWidget(makeLabel(this, QStringLiteral("AGC Lower Limit"), m_agcLower), 0, 0);
    box->addWidget(m_agcLower, 0, 1);
    box->addWidget(makeLabel(this, QStringLiteral("AGC Upper Limit"), m_agcUpper), 0, 2);
    box->addWidget(m_agcUpper, 0, 3);
    box->addWidget(new QLabel(QStringLiteral("AGC Speed"), this), 1, 0);
    box->addWidget(m_agcSpeed, 1, 1, 1, 3);
    box->addWidget(makeLabel(this, QStringLiteral("AE Lower Limit"), m_aeLower), 2, 0);
    box->addWidget(m_aeLower, 2, 1);
    box->addWidget(makeLabel(this, QStringLiteral("AE Upper Limit"), m_aeUpper), 2, 2);
    box->addWidget(m_aeUpper, 2, 3);
    box->addWidget(new QLabel(QStringLiteral("AE Speed"), this), 3, 0);
    box->addWidget(m_aeSpeed, 3, 1, 1, 3);
    return makeGroup(this, QString(), box);
}

void CBrevoCLAutoArea::bindArea(const AreaWords& words, Area& area)
{
    for (int side = 0; side < SideCount; ++side)
        area.bindings[side] =
            &bind().edit(area.edits[side], area.edits[side]->accessibleName(), words.sides[side]).wholeNumbersOnly();
    bind().check(area.highlight, words.highlight);
}

void CBrevoCLAutoArea::declareBindings()
{
    bindArea(kAgcWords, m_agcArea);
    bindArea(kAwbWords, m_awbArea);
    bind().edit(m_agcLower, QStringLiteral("AGC Lower Limit"), cmd::AGC_LOWER).wholeNumbersOnly();
    bind().edit(m_agcUpper, QStringLiteral("AGC Upper Limit"), cmd::AGC_UPPER).wholeNumbersOnly();
    bind().edit(m_aeLower, QStringLiteral("AE Lower Limit"), cmd::AE_LOWER).wholeNumbersOnly();
    bind().edit(m_aeUpper, QStringLiteral("AE Upper Limit"), cmd::AE_UPPER).wholeNumbersOnly();
    // The speeds go out while the thumb is dragged, each waiting for its
    // answer; keys, clicks in the channel and the release send nothing.
    m_agcSpeedBinding = &bind()
                             .slider(m_agcSpeed, QStringLiteral("AGC Speed"), cmd::AGC_SPEED)
                             .on(SliderNotification::ThumbTrack)
                             .send(SendMode::transact());
    m_aeSpeedBinding = &bind()
                            .slider(m_aeSpeed, QStringLiteral("AE Speed"), cmd::AE_SPEED)
                            .on(SliderNotification::ThumbTrack)
                            .send(SendMode::transact());
}

void CBrevoCLAutoArea::declareLoad()
{
    load().check(kAgcWords.highlight, m_agcArea.highlight);
    for (Side side : kReadOrder)
        load().number(kAgcWords.sides[side], *m_agcArea.bindings[side]);
    // Cameras without white balance refuse these.
    load().optionalCheck(kAwbWords.highlight, m_awbArea.highlight);
    for (Side side : kReadOrder)
        load().optionalNumber(kAwbWords.sides[side], *m_awbArea.bindings[side]);
    load()
        .number(cmd::AGC_UPPER, m_agcUpper)
        .number(cmd::AGC_LOWER, m_agcLower)
        .number(cmd::AGC_SPEED, *m_agcSpeedBinding)
        .number(cmd::AE_UPPER, m_aeUpper)
        .number(cmd::AE_LOWER, m_aeLower)
        .number(cmd::AE_SPEED, *m_aeSpeedBinding);
}
