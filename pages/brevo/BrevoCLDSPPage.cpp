#include "BrevoCLDSPPage.h"

#include "CellGrid.h"
#include "CommandWords.h"
#include "Controls.h"
#include "Display.h"
#include "InterpolationPoints.h"
#include "Link.h"
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

namespace {

// The cells in row order, each with its own command word. The matrix words
// end in a blank, so two blanks go before the value.
const char* const kMatrixWords[] = {cmd::CR_TF_VAL_00, cmd::CR_TF_VAL_01, cmd::CR_TF_VAL_02,
                                    cmd::CR_TF_VAL_10, cmd::CR_TF_VAL_11, cmd::CR_TF_VAL_12,
                                    cmd::CR_TF_VAL_20, cmd::CR_TF_VAL_21, cmd::CR_TF_VAL_22};
const char* const kFilterWords[] = {cmd::SP_FL_VAL_00, cmd::SP_FL_VAL_01, cmd::SP_FL_VAL_02,
                                    cmd::SP_FL_VAL_10, cmd::SP_FL_VAL_11, cmd::SP_FL_VAL_12,
                                    cmd::SP_FL_VAL_20, cmd::SP_FL_VAL_21, cmd::SP_FL_VAL_22};
struct ColourBuild {
    const char* caption;
    const char* word;
};
const ColourBuild kColourBuilds[] = {{"BuildR", cmd::LIBR}, {"BuildG", cmd::LIBG}, {"BuildB", cmd::LIBB}};

// Coefficients are 14-bit signed.
constexpr int kCoefficientMin = -8192;
constexpr int kCoefficientMax = 8191;
constexpr int kMaxThreshold = 4095;
constexpr int kMaxSharpness = 255;

const QString kPixelDepthNotice = QStringLiteral("This feature is available when the Pixel-Depth is 24(RGB format).");

const QList<int> kIdentity = {256, 0, 0, 0, 256, 0, 0, 0, 256};
const QList<int> kPassThrough = {0, 0, 0, 0, 256, 0, 0, 0, 0};

// An up-down box whose every step is first offered to the page: a step that
// would leave the range does nothing at all, and otherwise the page sends
// the new value before the box shows it. The number itself cannot be typed:
// the box shows what was sent or read.
class SteppedSpinBox : public QSpinBox {
public:
    SteppedSpinBox(QWidget* parent, std::function<void(int target)> beforeStep)
        : QSpinBox(parent), m_beforeStep(std::move(beforeStep))
    {
        lineEdit()->setReadOnly(true);
    }

    void stepBy(int steps) override
    {
        const qint64 target = qint64(value()) + qint64(steps) * singleStep();
        if (target < minimum() || target > maximum())
            return;
        m_beforeStep(int(target));
        QSpinBox::stepBy(steps);
    }

private:
    std::function<void(int)> m_beforeStep;
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
    declareLoad();
}

QWidget* CBrevoCLDSPPage::buildLut()
{
    m_format = new RadioGroup(this, {{QStringLiteral("Normal"), 0},
                                     {QStringLiteral("Reverse"), 1},
                                     {QStringLiteral("Binarize"), 2},
                                     {QStringLiteral("LinearInterpolation"), 3},
                                     {QStringLiteral("UserSetting"), 4}});
    m_threshold = makeEdit(this);
    m_points = interpolation::makePoints(this);
    m_build = new QPushButton(QStringLiteral("Build"), this);
    for (const ColourBuild& build : kColourBuilds)
        m_colourBuilds.append(new QPushButton(QString::fromLatin1(build.caption), this));

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
    m_matrix = new CellGrid(this, QStringLiteral("Color matrix"), colours, colours, kCoefficientMin, kCoefficientMax);
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
    m_filter = new CellGrid(this, QStringLiteral("Spatial filter"), filterIndexes(), filterIndexes(), kCoefficientMin,
                            kCoefficientMax);
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
    m_sharpness = makeSlider(this, 0, kMaxSharpness);
    m_sharpnessBox = new SteppedSpinBox(this, [this](int target) { stepSharpness(target); });
    m_sharpnessBox->setRange(0, kMaxSharpness);
    m_sharpnessBox->setAccessibleName(QStringLiteral("Sharpness"));

    m_sharpnessGroup = makeGroup(this, QStringLiteral("Sharpness"), makeRow({m_sharpness, m_sharpnessBox}));
    return m_sharpnessGroup;
}

void CBrevoCLDSPPage::declareBindings()
{
    // "LUT": the format takes effect at once, no answer is awaited; the
    // points go out only with a build.
    bind().radios(m_format, QStringLiteral("LUT"), cmd::LUT_FORMAT).send(SendMode::line());
    m_thresholdBinding =
        &bind().edit(m_threshold, QStringLiteral("Threshold"), cmd::BINARIZATION).accept(0, kMaxThreshold);
    bind().action(m_build, [this] { interpolation::build(connection(), *m_points, cmd::LINEAR_INTERPOLATION_BUILD); });
    interpolation::declareSettings(bind(), *m_points);
    for (int colour = 0; colour < m_colourBuilds.size(); ++colour) {
        bind().action(m_colourBuilds[colour],
                      [this, colour] { interpolation::build(connection(), *m_points, kColourBuilds[colour].word); });
    }

    // "Color Matrix": the sliders only fill the grid while they move; the
    // grid goes out when the gesture ends.
    bind().check(m_matrixEnable, cmd::CR_TF).onlyIf([this](int on) { return colourMatrixAllowed(on); });
    for (int cell = 0; cell < m_matrix->cellCount(); ++cell)
        m_matrixBindings.append(&bind()
                                     .edit(m_matrix->cell(cell), m_matrix->cell(cell)->accessibleName(), kMatrixWords[cell])
                                     .accept(kCoefficientMin, kCoefficientMax));
    bind().action(m_matrixSet, [this] { sendCells(*m_matrix, m_matrixBindings); });
    bind().action(m_matrixReset, [this] { resetColourMatrix(); });
    bind().onSlider(m_hue, QStringLiteral("Hue"),
                    [this](SliderNotification kind, int hue) { presetMatrix(kind, hueMatrix(hue)); });
    bind().onSlider(m_saturation, QStringLiteral("Saturation"),
                    [this](SliderNotification kind, int saturation) { presetMatrix(kind, saturationMatrix(saturation)); });

    // "Spatial Filter"
    bind().check(m_filterEnable, cmd::SP_FL);
    for (int cell = 0; cell < m_filter->cellCount(); ++cell)
        m_filterBindings.append(&bind()
                                     .edit(m_filter->cell(cell), m_filter->cell(cell)->accessibleName(), kFilterWords[cell])
                                     .accept(kCoefficientMin, kCoefficientMax));
    bind().action(m_filterSet, [this] { sendCells(*m_filter, m_filterBindings); });
    bind().action(m_filterReset, [this] { resetSpatialFilter(); });

    // "Sharpness": paging and dragging send, each waiting for its answer; the
    // up-down sends its own steps.
    bind()
        .slider(m_sharpness, QStringLiteral("Sharpness"), cmd::SHARP)
        .on(SliderNotification::PageLeft | SliderNotification::PageRight | SliderNotification::ThumbTrack)
        .send(SendMode::transact())
        .then([this](int position) { m_sharpnessBox->setValue(position); });
}

void CBrevoCLDSPPage::declareLoad()
{
    load()
        .radios(cmd::LUT_FORMAT, m_format)
        .number(cmd::BINARIZATION, *m_thresholdBinding)
        .step([this] { interpolation::load(connection(), *m_points); })
        .number(cmd::PIXEL_DEPTH, [this](int depth) { loadColourMatrix(depth); })
        .optional(
            cmd::SP_FL, [this](int on) { loadSpatialFilter(on); }, [this] { m_filterGroup->setEnabled(false); })
        .number(cmd::SHARP, [this](int value) { showSharpness(value); })
        .step([this] {
            // A camera that does not know LIBR builds no single colour.
            if (!Transact(connection(), QByteArray(cmd::HELP) + ' ' + cmd::LIBR, 1.0)) {
                for (QPushButton* build : std::as_const(m_colourBuilds))
                    build->hide();
            }
        });
}

void CBrevoCLDSPPage::OnInitDialog()
{
    if (!Transact(connection(), cmd::SHARP, 1.0)) {
        m_sharpnessGroup->hide();
        m_sharpnessGroup->setEnabled(false);
    }
    Page::OnInitDialog();
}

bool CBrevoCLDSPPage::colourMatrixAllowed(int on)
{
    // Switching off is always taken, so the box never shows off while the
    // camera's matrix stays on.
    if (on && QueryInt(connection(), cmd::PIXEL_DEPTH) != kRgbPixelDepth) {
        m_matrixEnable->setChecked(false);
        showMessage(kPixelDepthNotice);
        return false;
    }
    return true;
}

void CBrevoCLDSPPage::loadColourMatrix(int pixelDepth)
{
    // The matrix only works on 24-bit RGB pixels; otherwise it is greyed
    // out and keeps what it showed.
    const bool rgb = pixelDepth == kRgbPixelDepth;
    m_matrixGroup->setEnabled(rgb);
    if (!rgb)
        return;
    showCheck(m_matrixEnable, QueryInt(connection(), cmd::CR_TF));
    for (int cell = 0; cell < m_matrix->cellCount(); ++cell)
        m_matrixBindings[cell]->show(QueryInt(connection(), kMatrixWords[cell]));
}

void CBrevoCLDSPPage::loadSpatialFilter(int on)
{
    m_filterGroup->setEnabled(true);
    showCheck(m_filterEnable, on);
    for (int cell = 0; cell < m_filter->cellCount(); ++cell)
        m_filterBindings[cell]->show(QueryInt(connection(), kFilterWords[cell]));
}

void CBrevoCLDSPPage::presetMatrix(SliderNotification kind, const QList<int>& matrix)
{
    if (kind == SliderNotification::EndScroll)
        sendCells(*m_matrix, m_matrixBindings);
    else
        m_matrix->showAll(matrix);
}

void CBrevoCLDSPPage::resetColourMatrix()
{
    m_hue->setValue(0);
    m_saturation->setValue(kUnity);
    m_matrix->showAll(kIdentity);
    sendCells(*m_matrix, m_matrixBindings);
}

void CBrevoCLDSPPage::resetSpatialFilter()
{
    m_filter->showAll(kPassThrough);
    sendCells(*m_filter, m_filterBindings);
}

void CBrevoCLDSPPage::sendCells(const CellGrid& grid, const QList<EditBinding*>& bindings)
{
    grid.forEachValue([&bindings](int cell, int) { bindings[cell]->enter(); });
}

void CBrevoCLDSPPage::stepSharpness(int target)
{
    // The camera acknowledges with its echo and one more line.
    SendLine(connection(), setLine(cmd::SHARP, target));
    AwaitLineEnds(connection(), 1.0);
    m_sharpness->setValue(target);
}

void CBrevoCLDSPPage::showSharpness(int value)
{
    m_sharpness->setValue(value);
    m_sharpnessBox->setValue(value);
}
