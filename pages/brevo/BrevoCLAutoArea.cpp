#include "BrevoCLAutoArea.h"

#include "AreaSketch.h"
#include "Controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kSideCaptions[] = {"OffsetX", "Width", "OffsetY", "Height"};

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
    top->addWidget(buildArea(QStringLiteral("AE/AGC Detection Area"), "AE/AGC", m_agcArea));
    top->addWidget(buildArea(QStringLiteral("AWB Detection Area"), "AWB", m_awbArea));
    top->addStretch();
    top->addWidget(makeRefreshButton(), 0, Qt::AlignTop);

    auto* limits = new QGridLayout;
    addLimitRows(limits, 0, "AGC", m_agcLimits);
    addLimitRows(limits, 2, "AE", m_aeLimits);

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(makeGroup(this, QString(), limits));
    column->addStretch();

    auto& s = settingsAs<Settings>();
    bindArea(s.gainArea, m_agcArea);
    bindArea(s.whiteBalanceArea, m_awbArea);
    bindLimits(s.gainLimits, m_agcLimits);
    bindLimits(s.exposureLimits, m_aeLimits);
}

QGroupBox* CBrevoCLAutoArea::buildArea(const QString& title, const char* name, Area& area)
{
    auto* box = new QGridLayout;
    for (int side = 0; side < Settings::kSideCount; ++side) {
        QLineEdit* edit = makeEdit(this);
        // Both areas have the same sides; the accessible name says which area.
        edit->setAccessibleName(captioned(name, kSideCaptions[side]));
        area.edits[side] = edit;
        const Place place = kPlaces[side];
        box->addWidget(makeLabel(this, QString::fromLatin1(kSideCaptions[side]), edit), place.row, place.column);
        box->addWidget(edit, place.row + 1, place.column);
    }
    area.sketch = new AreaSketch(this);
    area.sketch->setAccessibleName(captioned(name, "area sketch"));
    box->addWidget(area.sketch, 2, 1, 4, 2);

    area.highlight = new QCheckBox(QStringLiteral("Highlight"), this);
    area.highlight->setAccessibleName(captioned(name, "Highlight"));
    box->addWidget(area.highlight, 6, 0, 1, 3);
    return makeGroup(this, title, box);
}

void CBrevoCLAutoArea::addLimitRows(QGridLayout* box, int row, const char* name, Limits& limits)
{
    limits.lower = makeEdit(this);
    limits.upper = makeEdit(this);
    limits.speed = makeSlider(this, kSpeedMin, kSpeedMax);
    box->addWidget(makeLabel(this, captioned(name, "Lower Limit"), limits.lower), row, 0);
    box->addWidget(limits.lower, row, 1);
    box->addWidget(makeLabel(this, captioned(name, "Upper Limit"), limits.upper), row, 2);
    box->addWidget(limits.upper, row, 3);
    // The slider's binding names it "<caption> slider".
    box->addWidget(new QLabel(captioned(name, "Speed"), this), row + 1, 0);
    box->addWidget(limits.speed, row + 1, 1, 1, 3);
}

void CBrevoCLAutoArea::bindArea(const Settings::Area& settings, Area& area)
{
    for (int side = 0; side < Settings::kSideCount; ++side)
        bind().edit(area.edits[side], *settings.sides[side]);
    bind().check(area.highlight, *settings.highlight);
    sketchArea(settings, area);
}

void CBrevoCLAutoArea::sketchArea(const Settings::Area& settings, Area& area)
{
    const auto& s = settingsAs<Settings>();
    const auto showArea = [&settings, sketch = area.sketch] {
        const auto side = [&settings](Settings::Side which) { return settings.sides[which]->number(); };
        const bool unavailable = std::ranges::any_of(settings.sides, [](const Setting* setting) {
            return setting->isUnavailable();
        });
        sketch->setArea({side(Settings::OffsetX), side(Settings::OffsetY), side(Settings::Width), side(Settings::Height)},
                        unavailable ? kNotAvailable : kNotRead);
    };
    for (Setting* side : settings.sides)
        whenChanged(*side, showArea);
    if (!s.imageWidth || !s.imageHeight)
        return;
    const auto showImage = [&s, sketch = area.sketch] {
        sketch->setImageSize(s.imageWidth->number(), s.imageHeight->number());
    };
    whenChanged(*s.imageWidth, showImage);
    whenChanged(*s.imageHeight, showImage);
}

void CBrevoCLAutoArea::bindLimits(const Settings::Limits& settings, Limits& limits)
{
    bind().edit(limits.lower, *settings.lower);
    bind().edit(limits.upper, *settings.upper);
    // The speed goes out while the thumb is dragged, each position waiting
    // for its answer; keys, clicks in the channel and the release send nothing.
    bind().slider(limits.speed, *settings.speed).on(SliderNotification::ThumbTrack).send(SendMode::transact());
}
