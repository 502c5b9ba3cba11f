#include "TovaneLUTPage.h"

#include "CellGrid.h"
#include "CommandWords.h"
#include "Controls.h"
#include "InterpolationPoints.h"
#include "Link.h"
#include "RadioGroup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// Gamma 1 is k x 4096 (65535 at the last point); the other two follow
// 65535 x (k / 16) ^ gamma to within a few counts. The tabled values are the
// ones the camera has always been sent.
const std::array<CTovaneLUTPage::GammaPreset, 3> CTovaneLUTPage::kGammaPresets = {{
    {0, 4096, 8192, 12288, 16384, 20480, 24576, 28672, 32768, 36864, 40960, 45056, 49152, 53248, 57344, 61440, 65535},
    {0, 9410, 15287, 20304, 24834, 29032, 32984, 36742, 40342, 43809, 47162, 50416, 53582, 56670, 59687, 62641, 65535},
    {0, 18820, 25709, 30855, 35120, 38830, 42150, 45177, 47975, 50587, 53043, 55378, 57578, 59690, 61714, 63660, 65535},
}};

namespace {

const char* const kGammaCaptions[] = {"Gamma1", "Gamma0.7", "Gamma0.45"};

constexpr int kMaxThreshold = 4095;
constexpr int kMaxWideLutValue = 65535;
// The wide-LUT points stand in two columns.
constexpr int kWideLutRowsPerColumn = 9;

QStringList wideLutPointLabels()
{
    QStringList labels;
    for (int point = 0; point < CTovaneLUTPage::kWideLutPoints; ++point)
        labels << QString::number(point);
    return labels;
}

} // namespace

CTovaneLUTPage::CTovaneLUTPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* column = new QVBoxLayout;
    column->addLayout(makeRow({nullptr, makeRefreshButton()}));
    column->addWidget(buildLut());
    column->addStretch();
    layOutColumns(this, {column});

    declareBindings();
    declareLoad();
}

QWidget* CTovaneLUTPage::buildLut()
{
    // Made in reading order, which Tab follows: the formats, then the
    // parameters of the curve formats, then the wide LUT.
    m_format = new RadioGroup(this, {{QStringLiteral("Normal"), 0},
                                     {QStringLiteral("Reverse"), 1},
                                     {QStringLiteral("Binarize"), 2},
                                     {QStringLiteral("LinearInterpolation"), 3},
                                     {QStringLiteral("UserSetting"), 4},
                                     {QStringLiteral("WideLUT(16-bit)"), 5}});
    m_threshold = makeEdit(this);
    m_points = interpolation::makePoints(this);
    m_build = new QPushButton(QStringLiteral("Build"), this);
    m_wideLut = new CellGrid(this, QStringLiteral("WideLUT"), wideLutPointLabels(), {}, 0, kMaxWideLutValue);
    for (size_t preset = 0; preset < m_gamma.size(); ++preset)
        m_gamma[preset] = new QPushButton(QString::fromLatin1(kGammaCaptions[preset]), this);

    auto* formats = new QVBoxLayout;
    for (int i = 0; i < m_format->count(); ++i)
        formats->addWidget(m_format->button(i));
    formats->addStretch();

    auto* curves = new QVBoxLayout;
    curves->addLayout(makeRow({makeLabel(this, QStringLiteral("Threshold"), m_threshold), m_threshold, nullptr}));
    curves->addWidget(new QLabel(QStringLiteral("LinearInterpolation points"), this));
    curves->addLayout(m_points->makeLayout());
    curves->addLayout(makeRow({nullptr, m_build}));
    curves->addStretch();

    auto* wide = new QVBoxLayout;
    wide->addWidget(new QLabel(QStringLiteral("WideLUT(16-bit) points"), this));
    wide->addLayout(m_wideLut->makeLayout(kWideLutRowsPerColumn));
    wide->addLayout(makeRow({m_gamma[0], m_gamma[1], m_gamma[2], nullptr}));
    wide->addStretch();

    auto* box = new QHBoxLayout;
    box->addLayout(formats);
    box->addSpacing(12);
    box->addLayout(curves);
    box->addSpacing(12);
    box->addLayout(wide);
    box->addStretch();
    return makeGroup(this, QStringLiteral("LUT"), box);
}

void CTovaneLUTPage::declareBindings()
{
    // The format takes effect at once; no answer is awaited.
    bind().radios(m_format, QStringLiteral("LUT"), cmd::LUT_FORMAT).send(SendMode::line());
    m_thresholdBinding =
        &bind().edit(m_threshold, QStringLiteral("Threshold"), cmd::BINARIZATION).accept(0, kMaxThreshold);
    bind().action(m_build, [this] {
        interpolation::build(connection(), *m_points, cmd::LINEAR_INTERPOLATION_BUILD);
    });
    interpolation::declareSettings(bind(), *m_points);
    for (int point = 0; point < kWideLutPoints; ++point) {
        QLineEdit* cell = m_wideLut->cell(point);
        m_wideLutBindings[point] =
            &bind().edit(cell, cell->accessibleName(), cmd::WIDE_LUT).indexed(QByteArray::number(point)).accept(0, kMaxWideLutValue);
    }
    for (size_t preset = 0; preset < m_gamma.size(); ++preset)
        bind().action(m_gamma[preset], [this, preset] { applyGamma(kGammaPresets[preset]); });
}

void CTovaneLUTPage::declareLoad()
{
    load()
        .radios(cmd::LUT_FORMAT, m_format)
        .number(cmd::BINARIZATION, *m_thresholdBinding)
        .step([this] { interpolation::load(connection(), *m_points); });
    for (int point = 0; point < kWideLutPoints; ++point)
        load().number(QByteArray(cmd::WIDE_LUT) + ' ' + QByteArray::number(point), *m_wideLutBindings[point]);
}

void CTovaneLUTPage::applyGamma(const GammaPreset& preset)
{
    for (int point = 0; point < kWideLutPoints; ++point)
        m_wideLut->show(point, preset[point]);
    for (EditBinding* point : m_wideLutBindings)
        point->enter();
}
