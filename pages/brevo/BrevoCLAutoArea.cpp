#include "BrevoCLAutoArea.h"

#include "CommandWords.h"
#include "Controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

namespace {

using Side = CBrevoCLAutoArea::Side;

const CBrevoCLAutoArea::AreaWords kAgcArea = {
    "AE/AGC", cmd::AGC_FRAME_HIGHLIGHT, {cmd::AGC_OFFSETX, cmd::AGC_WIDTH, cmd::AGC_OFFSETY, cmd::AGC_HEIGHT}};
const CBrevoCLAutoArea::AreaWords kAwbArea = {
    "AWB", cmd::AWB_FRAME_HIGHLIGHT, {cmd::AWB_OFFSETX, cmd::AWB_WIDTH, cmd::AWB_OFFSETY, cmd::AWB_HEIGHT}};
const CBrevoCLAutoArea::LimitWords kAgcLimits = {"AGC", cmd::AGC_LOWER, cmd::AGC_UPPER, cmd::AGC_SPEED};
const CBrevoCLAutoArea::LimitWords kAeLimits = {"AE", cmd::AE_LOWER, cmd::AE_UPPER, cmd::AE_SPEED};

const char* const kSideCaptions[] = {"OffsetX", "Width", "OffsetY", "Height"};

// The camera's order for reading the sides of an area.
constexpr Side kReadOrder[] = {Side::Width, Side::Height, Side::OffsetX, Side::OffsetY};

// Where each side's caption goes about the sketch of the area (its edit goes
// right below): along the top edge left to right, down the left edge.
struct Place {
    int row;
    int column;
};
constexpr Place kPlaces[] = {{0, 1}, {0, 2}, {2, 0}, {4, 0}};

QString captioned(const char* name, const char* what)
{
    return QString::fromLatin1(name) + ' ' + QString::fromLatin1(what);
}

} // namespace

CBrevoCLAutoArea::CBrevoCLAutoArea(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* top = new QHBoxLayout;
    top->addWidget(buildArea(QStringLiteral("AE/AGC Detection Area"), kAgcArea, m_agcArea));
    top->addWidget(buildArea(QStringLiteral("AWB Detection Area"), kAwbArea, m_awbArea));
    top->addStretch();
    top->addWidget(makeRefreshButton(), 0, Qt::AlignTop);

    auto* limits = new QGridLayout;
    addLimitRows(limits, 0, kAgcLimits, m_agcLimits);
    addLimitRows(limits, 2, kAeLimits, m_aeLimits);

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(makeGroup(this, QString(), limits));
    column->addStretch();

    bindArea(kAgcArea, m_agcArea);
    bindArea(kAwbArea, m_awbArea);
    bindLimits(kAgcLimits, m_agcLimits);
    bindLimits(kAeLimits, m_aeLimits);
    declareLoad();
}

QGroupBox* CBrevoCLAutoArea::buildArea(const QString& title, const AreaWords& words, Area& area)
{
    auto* box = new QGridLayout;
    for (int side = 0; side < SideCount; ++side) {
        QLineEdit* edit = makeEdit(this);
        // Both areas have the same sides; the accessible name says which area.
        edit->setAccessibleName(captioned(words.name, kSideCaptions[side]));
        area.edits[side] = edit;
        const Place place = kPlaces[side];
        box->addWidget(makeLabel(this, QString::fromLatin1(kSideCaptions[side]), edit), place.row, place.column);
        box->addWidget(edit, place.row + 1, place.column);
    }
    auto* sketch = new QFrame(this);
    sketch->setFrameShape(QFrame::Box);
    sketch->setMinimumHeight(area.edits[Width]->minimumWidth() / 2);
    box->addWidget(sketch, 2, 1, 4, 2);

    area.highlight = new QCheckBox(QStringLiteral("Highlight"), this);
    area.highlight->setAccessibleName(captioned(words.name, "Highlight"));
    box->addWidget(area.highlight, 6, 0, 1, 3);
    return makeGroup(this, title, box);
}

void CBrevoCLAutoArea::addLimitRows(QGridLayout* box, int row, const LimitWords& words, Limits& limits)
{
    limits.lower = makeEdit(this);
    limits.upper = makeEdit(this);
    limits.speed = makeSlider(this, kSpeedMin, kSpeedMax);
    box->addWidget(makeLabel(this, captioned(words.name, "Lower Limit"), limits.lower), row, 0);
    box->addWidget(limits.lower, row, 1);
    box->addWidget(makeLabel(this, captioned(words.name, "Upper Limit"), limits.upper), row, 2);
    box->addWidget(limits.upper, row, 3);
    // The slider's binding names it "<caption> slider".
    box->addWidget(new QLabel(captioned(words.name, "Speed"), this), row + 1, 0);
    box->addWidget(limits.speed, row + 1, 1, 1, 3);
}

void CBrevoCLAutoArea::bindArea(const AreaWords& words, Area& area)
{
    for (int side = 0; side < SideCount; ++side)
        area.bindings[side] =
            &bind().edit(area.edits[side], area.edits[side]->accessibleName(), words.sides[side]).wholeNumbersOnly();
    bind().check(area.highlight, words.highlight);
}

void CBrevoCLAutoArea::bindLimits(const LimitWords& words, Limits& limits)
{
    bind().edit(limits.lower, limits.lower->accessibleName(), words.lower).wholeNumbersOnly();
    bind().edit(limits.upper, limits.upper->accessibleName(), words.upper).wholeNumbersOnly();
    // The speed goes out while the thumb is dragged, each position waiting
    // for its answer; keys, clicks in the channel and the release send nothing.
    limits.speedBinding = &bind()
                               .slider(limits.speed, captioned(words.name, "Speed"), words.speed)
                               .on(SliderNotification::ThumbTrack)
                               .send(SendMode::transact());
}

void CBrevoCLAutoArea::declareLoad()
{
    load().check(kAgcArea.highlight, m_agcArea.highlight);
    for (Side side : kReadOrder)
        load().number(kAgcArea.sides[side], *m_agcArea.bindings[side]);
    // Cameras without white balance refuse these.
    load().optionalCheck(kAwbArea.highlight, m_awbArea.highlight);
    for (Side side : kReadOrder)
        load().optionalNumber(kAwbArea.sides[side], *m_awbArea.bindings[side]);
    for (auto [words, limits] : {std::pair{&kAgcLimits, &m_agcLimits}, std::pair{&kAeLimits, &m_aeLimits}}) {
        load()
            .number(words->upper, limits->upper)
            .number(words->lower, limits->lower)
            .number(words->speed, *limits->speedBinding);
    }
}
