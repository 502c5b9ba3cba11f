#include "TovaneLUTPage.h"

#include "CellGrid.h"
#include "Controls.h"
#include "InterpolationPoints.h"
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
    m_points = interpolation::makePoints(this, bind(), settingsAs<Settings>());
    m_build = new QPushButton(QStringLiteral("Build"), this);
    m_wideLut = new CellGrid(this, QStringLiteral("WideLUT"), wideLutPointLabels(), {}, 0, Settings::kMaxWideLutValue);
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
    auto& s = settingsAs<Settings>();
    // The format takes effect at once; no answer is awaited.
    bind().radios(m_format, *s.format).send(SendMode::line());
    bind().edit(m_threshold, *s.threshold).accept(0, Settings::kMaxLevel);
    bind().action(m_build, [this] { interpolation::build(sendPath(), *m_points, *settingsAs<Settings>().build); });
    m_wideLut->bindCells(bind(), {s.wideLut.begin(), s.wideLut.end()});
    for (size_t preset = 0; preset < m_gamma.size(); ++preset)
        bind().action(m_gamma[preset], [this, preset] { applyGamma(kGammaPresets[preset]); });
}

void CTovaneLUTPage::applyGamma(const GammaPreset& preset)
{
    m_wideLut->showAll({preset.begin(), preset.end()});
    m_wideLut->sendCells(sendPath());
}
