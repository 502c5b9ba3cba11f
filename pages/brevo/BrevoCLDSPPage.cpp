#include "BrevoCLDSPPage.h"

#include "CellGrid.h"
#include "Controls.h"
#include "InterpolationPoints.h"
#include "Messages.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>
#include <optional>

namespace {

const QString kPixelDepthNotice = QStringLiteral("This feature is available when the Pixel-Depth is 24(RGB format).");

const QList<int> kIdentity = {256, 0, 0, 0, 256, 0, 0, 0, 256};
const QList<int> kPassThrough = {0, 0, 0, 0, 256, 0, 0, 0, 0};
const char* const kColourBuildCaptions[] = {"BuildR", "BuildG", "BuildB"};

// An up-down box whose steps go to the page instead of moving the box: the
// page sends the sharpness they lead to, and the box shows the camera's
// value. The number itself cannot be typed.
class SteppedSpinBox : public QSpinBox {
public:
    SteppedSpinBox(QWidget* parent, std::function<void(int steps)> onStep) : QSpinBox(parent), m_onStep(std::move(onStep))
    {
        lineEdit()->setReadOnly(true);
    }

    void stepBy(int steps) override { m_onStep(steps); }

private:
    std::function<void(int)> m_onStep;
};

QStringList filterIndexes()
{
    return {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
}

QPushButton* namedButton(QWidget* parent, const QString& text, const QString& accessibleName)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(accessibleName);
    return button;
}

} // namespace

QList<int> CBrevoCLDSPPage::hueMatrix(int d)
{
    return {kUnity, d, -d, -d, kUnity, d, d, -d, kUnity};
}

QList<int> CBrevoCLDSPPage::saturationMatrix(int b)
{
    // Truncated toward zero, so every row sums to 256 when b is even.
    const int o = (kUnity - b) / 2;
    return {b, o, o, o, b, o, o, o, b};
}

CBrevoCLDSPPage::CBrevoCLDSPPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* left = new QVBoxLayout;
    left->addWidget(buildLut());
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildColourMatrix());
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(makeRow({nullptr, makeRefreshButton()}));
    right->addWidget(buildSpatialFilter());
    right->addWidget(buildSharpness());
    right->addStretch();

    layOutColumns(this, {left, middle, right});

    declareBindings();
    followCamera();
}

QWidget* CBrevoCLDSPPage::buildLut()
{
    m_format = new RadioGroup(this, {{QStringLiteral("Normal"), 0},
                                     {QStringLiteral("Reverse"), 1},
                                     {QStringLiteral("Binarize"), 2},
                                     {QStringLiteral("LinearInterpolation"), 3},
                                     {QStringLiteral("UserSetting"), 4}});
    m_threshold = makeEdit(this);
    m_points = interpolation::makePoints(this, bind(), settingsAs<Settings>());
    m_build = new QPushButton(QStringLiteral("Build"), this);
    for (const char* caption : kColourBuildCaptions)
        m_colourBuilds.append(new QPushButton(QString::fromLatin1(caption), this));

    auto* box = new QVBoxLayout;
    for (int i = 0; i < m_format->count(); ++i)
        box->addWidget(m_format->button(i));
    box->addLayout(makeRow({makeLabel(this, QStringLiteral("Threshold"), m_threshold), m_threshold, nullptr}));
    box->addWidget(new QLabel(QStringLiteral("LinearInterpolation points"), this));
    box->addLayout(m_points->makeLayout());
    box->addLayout(makeRow({m_build, m_colourBuilds[0], m_colourBuilds[1], m_colourBuilds[2], nullptr}));
    return makeGroup(this, QStringLiteral("LUT"), box);
}

QWidget* CBrevoCLDSPPage::buildColourMatrix()
{
    const QStringList colours = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    m_matrixEnable = new QCheckBox(QStringLiteral("Color Linear Matrix "), this);
    m_matrix = new CellGrid(this, QStringLiteral("Color matrix"), colours, colours, Settings::kCoefficientMin,
                            Settings::kCoefficientMax);
    m_matrixSet = namedButton(this, QStringLiteral("Set"), QStringLiteral("Color Matrix Set"));
    m_matrixReset = namedButton(this, QStringLiteral("Reset"), QStringLiteral("Color Matrix Reset"));
    m_hue = makeSlider(this, -kUnity, kUnity);
    m_hue->setValue(0);
    m_saturation = makeSlider(this, 85, 1024);
    m_saturation->setValue(kUnity);

    auto* box = new QVBoxLayout;
    box->addWidget(m_matrixEnable);
    box->addWidget(new QLabel(QStringLiteral("(Available when Pixel-Depth is 24)"), this));
    box->addLayout(m_matrix->makeLayout());
    box->addLayout(makeRow({nullptr, m_matrixSet, m_matrixReset}));
    box->addWidget(new QLabel(QStringLiteral("Hue"), this));
    box->addWidget(m_hue);
    box->addWidget(new QLabel(QStringLiteral("Saturation"), this));
    box->addWidget(m_saturation);
    m_matrixGroup = makeGroup(this, QStringLiteral("Color Matrix"), box);
    return m_matrixGroup;
}

QWidget* CBrevoCLDSPPage::buildSpatialFilter()
{
    m_filterEnable = new QCheckBox(QStringLiteral("Spatial Filter"), this);
    m_filter = new CellGrid(this, QStringLiteral("Spatial filter"), filterIndexes(), filterIndexes(),
                            Settings::kCoefficientMin, Settings::kCoefficientMax);
    m_filterSet = namedButton(this, QStringLiteral("Set"), QStringLiteral("Spatial Filter Set"));
    m_filterReset = namedButton(this, QStringLiteral("Reset"), QStringLiteral("Spatial Filter Reset"));

    auto* box = new QVBoxLayout;
    box->addWidget(m_filterEnable);
    box->addLayout(m_filter->makeLayout());
    box->addLayout(makeRow({nullptr, m_filterSet, m_filterReset}));
    m_filterGroup = makeGroup(this, QStringLiteral("Spatial Filter"), box);
    return m_filterGroup;
}

QWidget* CBrevoCLDSPPage::buildSharpness()
{
    m_sharpness = makeSlider(this, 0, Settings::kMaxSharpness);
    // The steps wait their turn like every other user action.
    m_sharpnessBox = new SteppedSpinBox(this, [this](int steps) {
        sendPath().whenIdle([this, steps] { stepSharpness(steps); }, m_sharpnessBox);
    });
    m_sharpnessBox->setRange(0, Settings::kMaxSharpness);
    m_sharpnessBox->setAccessibleName(QStringLiteral("Sharpness"));

    m_sharpnessGroup = makeGroup(this, QStringLiteral("Sharpness"), makeRow({m_sharpness, m_sharpnessBox}));
    return m_sharpnessGroup;
}

void CBrevoCLDSPPage::declareBindings()
{
    auto& s = settingsAs<Settings>();
    // "LUT": the format takes effect at once, no answer is awaited; the
    // points go out only with a build.
    bind().radios(m_format, *s.format).send(SendMode::line());
    bind().edit(m_threshold, *s.threshold).accept(0, Settings::kMaxLevel);
    bind().action(m_build, [this] { interpolation::build(sendPath(), *m_points, *settingsAs<Settings>().build); });
    for (int colour = 0; colour < m_colourBuilds.size(); ++colour) {
        bind().action(m_colourBuilds[colour], [this, colour] {
            interpolation::build(sendPath(), *m_points, *settingsAs<Settings>().colourBuilds[colour]);
        });
    }

    // "Color Matrix": the sliders only fill the grid while they move; the
    // grid goes out when the gesture ends.
    bind().check(m_matrixEnable, *s.matrixEnable).onlyIf([this](int on) { return colourMatrixAllowed(on); });
    m_matrix->bindCells(bind(), {s.matrix.begin(), s.matrix.end()});
    bind().action(m_matrixSet, [this] { m_matrix->sendCells(sendPath()); });
    bind().action(m_matrixReset, [this] { resetColourMatrix(); });
    bind().onSlider(m_hue, QStringLiteral("Hue"),
                    [this](SliderNotification kind, int hue) { presetMatrix(kind, hueMatrix(hue)); });
    bind().onSlider(m_saturation, QStringLiteral("Saturation"),
                    [this](SliderNotification kind, int saturation) { presetMatrix(kind, saturationMatrix(saturation)); });

    // "Spatial Filter"
    bind().check(m_filterEnable, *s.filterEnable);
    m_filter->bindCells(bind(), {s.filter.begin(), s.filter.end()});
    bind().action(m_filterSet, [this] { m_filter->sendCells(sendPath()); });
    bind().action(m_filterReset, [this] { resetSpatialFilter(); });

    // "Sharpness": paging and dragging send, each waiting for its answer;
    // the up-down sends its own steps and shows the camera's value.
    bind()
        .slider(m_sharpness, *s.sharpness)
        .on(SliderNotification::PageLeft | SliderNotification::PageRight | SliderNotification::ThumbTrack)
        .send(SendMode::transact());
}

void CBrevoCLDSPPage::followCamera()
{
    auto& s = settingsAs<Settings>();
    // The matrix works only on 24-bit RGB pixels; otherwise it is greyed
    // out and keeps what it showed.
    whenChanged(*s.pixelDepth, [this, &s] { m_matrixGroup->setEnabled(s.pixelDepth->number() == kRgbPixelDepth); });
    whenChanged(*s.filterEnable, [this, &s] { m_filterGroup->setEnabled(!s.filterEnable->isUnavailable()); });
    whenChanged(*s.sharpness, [this, &s] {
        const Setting& sharpness = *s.sharpness;
        m_sharpnessGroup->setHidden(sharpness.isUnavailable());
        m_sharpnessGroup->setEnabled(!sharpness.isUnavailable());
        if (const std::optional<int> value = sharpness.number())
            m_sharpnessBox->setValue(*value);
        else
            m_sharpnessBox->clear();
    });
    // A camera that does not know LIBR builds no single colour; the buttons
    // are never shown again.
    const auto showColourBuilds = [this, &s] {
        if (s.hasColourBuilds())
            return;
        for (QPushButton* build : std::as_const(m_colourBuilds))
            build->hide();
    };
    connect(&s, &Settings::colourBuildsChecked, this, showColourBuilds);
    showColourBuilds();
}

bool CBrevoCLDSPPage::colourMatrixAllowed(int on)
{
    // Switching off is always taken, so the box never shows off while the
    // camera's matrix stays on.
    if (!on)
        return true;
    auto& s = settingsAs<Settings>();
    pageSettings().read(*s.pixelDepth);
    if (s.pixelDepth->number() == kRgbPixelDepth)
        return true;
    s.matrixEnable->reshow();
    showMessage({.title = QStringLiteral("Feature Not Available"), .text = kPixelDepthNotice});
    return false;
}

void CBrevoCLDSPPage::presetMatrix(SliderNotification kind, const QList<int>& matrix)
{
    if (kind == SliderNotification::EndScroll)
        m_matrix->sendCells(sendPath());
    else
        m_matrix->showAll(matrix);
}

void CBrevoCLDSPPage::resetColourMatrix()
{
    m_hue->setValue(0);
    m_saturation->setValue(kUnity);
    m_matrix->showAll(kIdentity);
    m_matrix->sendCells(sendPath());
}

void CBrevoCLDSPPage::resetSpatialFilter()
{
    m_filter->showAll(kPassThrough);
    m_filter->sendCells(sendPath());
}

void CBrevoCLDSPPage::stepSharpness(int steps)
{
    // A step starts from the camera's sharpness (none known: nothing to
    // step from); one that would leave the range does nothing at all.
    Setting& sharpness = *settingsAs<Settings>().sharpness;
    const std::optional<int> current = sharpness.number();
    if (!current)
        return;
    const qint64 target = qint64(*current) + qint64(steps) * m_sharpnessBox->singleStep();
    if (target < m_sharpnessBox->minimum() || target > m_sharpnessBox->maximum())
        return;
    sendPath().set(sharpness, int(target));
}
