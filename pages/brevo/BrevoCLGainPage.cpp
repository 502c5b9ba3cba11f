#include "BrevoCLGainPage.h"

#include "Clock.h"
#include "CommandWords.h"
#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "Display.h"
#include "Link.h"

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

#include <cmath>

namespace {

constexpr int kGainMax = 502;
// 256 is a colour gain of one.
constexpr int kColourMin = 256;
constexpr int kColourMax = 4095;
constexpr int kBlackLevelTrimMin = -128;
constexpr int kBlackLevelTrimMax = 127;
constexpr int kBlackLevelMax = 1023;
constexpr int kTargetLevelMax = 16393;
// A black-level auto balance that runs continuously owns the black levels.
constexpr int kContinuous = 2;

// The white balance is then done by the application on a software-triggered frame.
constexpr int kWhiteBalanceByApp = 3;
constexpr int kTriggerSettleMs = 100;

const QStringList kAutoModes = {QStringLiteral("0:OFF"), QStringLiteral("1:Once"), QStringLiteral("2:Continuous")};
const QStringList kWhiteBalanceModes = {QStringLiteral("0:OFF"), QStringLiteral("1:Once"), QStringLiteral("2:Undefined"),
                                        QStringLiteral("3:ByApp")};

const char* const kRowCaptions[] = {"Gain-fine", "BlackLevel", "RGain-fine", "GGain-fine", "BGain-fine"};
const char* const kGroupTitles[] = {"Common/tap1", "Right/tap2", "tap3", "tap4"};

// Row by row: the common word, then the word of each tap.
const char* const kCommonWords[] = {cmd::GAIN_FINE, cmd::BLACKLEVEL, cmd::RGAIN_FINE, cmd::GGAIN_FINE, cmd::BGAIN_FINE};
const char* const kTapWords[][4] = {
    {cmd::GAIN_FINE_TAP1, cmd::GAIN_FINE_TAP2, cmd::GAIN_FINE_TAP3, cmd::GAIN_FINE_TAP4},
    {cmd::BL_ADJ_1, cmd::BL_ADJ_2, cmd::BL_ADJ_3, cmd::BL_ADJ_4},
    {cmd::RGAIN_FINE_TAP1, cmd::RGAIN_FINE_TAP2, cmd::RGAIN_FINE_TAP3, cmd::RGAIN_FINE_TAP4},
    {cmd::GGAIN_FINE_TAP1, cmd::GGAIN_FINE_TAP2, cmd::GGAIN_FINE_TAP3, cmd::GGAIN_FINE_TAP4},
    {cmd::BGAIN_FINE_TAP1, cmd::BGAIN_FINE_TAP2, cmd::BGAIN_FINE_TAP3, cmd::BGAIN_FINE_TAP4},
};

// 0.0359 dB per fine gain step.
const Format kGainDecibels = scaledBy(0.0359, "%3.2lfdB");

// A colour gain has no decibel value at 0 or below (the logarithm is not
// finite there); the read-out then keeps what it showed.
QString colourDecibels(int value)
{
    if (value <= 0)
        return {};
    return QString::asprintf("%3.2lfdB", 20.0 * std::log10(value / double(kColourMin)));
}

const QString kNotAvailable = QStringLiteral("N/A");

// The caption of a row in a group: the first group's rows carry the row's
// name, the others the tap as well.
// The name a row's controls are found by: the row's caption, preceded by the
// group's title in the tap groups that share it ("Right/tap2 Gain-fine").
// The first group's title changes with the mode, so its rows go by caption.
QString captionOf(int group, int row)
{
    const QString name = QString::fromLatin1(kRowCaptions[row]);
    return group == 0 ? name : QStringLiteral("%1 %2").arg(QString::fromLatin1(kGroupTitles[group]), name);
}

} // namespace

CBrevoCLGainPage::CBrevoCLGainPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto* groups = new QGridLayout;
    for (int group = 0; group < kGroupCount; ++group)
        groups->addWidget(buildGroup(group), group / 2, group % 2);

    auto* page = new QVBoxLayout(this);
    page->addLayout(buildAutomaticControls());
    page->addLayout(groups);
    page->addStretch();

    pollWhileShown([this] { pollAutomaticControls(); });
    declareBindings();
    declareLoad();
}

QLayout* CBrevoCLGainPage::buildAutomaticControls()
{
    m_individualBox = new QCheckBox(QStringLiteral("Individual Control"), this);
    m_agc = makeEditableList(this, kAutoModes);
    m_blackLevelAuto = makeEditableList(this, kAutoModes);
    m_targetLevel = makeSlider(this, 0, kTargetLevelMax, 1);
    m_targetLevel->setMinimumWidth(DialogUnits::standard().toPixelsX(120));
    m_awb = makeEditableList(this, kWhiteBalanceModes);

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(this, QStringLiteral("Auto Gain Control"), m_agc), 0, 0);
    grid->addWidget(m_agc, 0, 1);
    grid->addWidget(makeLabel(this, QStringLiteral("Black Level Auto Balance"), m_blackLevelAuto), 0, 2);
    grid->addWidget(m_blackLevelAuto, 0, 3);
    grid->addWidget(makeLabel(this, QStringLiteral("Target Level"), m_targetLevel), 1, 0);
    grid->addWidget(m_targetLevel, 1, 1);
    grid->addWidget(makeLabel(this, QStringLiteral("Auto White Balance"), m_awb), 1, 2);
    grid->addWidget(m_awb, 1, 3);
    grid->setColumnStretch(4, 1);

    auto* column = new QVBoxLayout;
    column->addLayout(makeRow({m_individualBox, nullptr, makeRefreshButton()}));
    column->addLayout(grid);
    return column;
}

QGroupBox* CBrevoCLGainPage::buildGroup(int group)
{
    TapGroup& tap = m_groups[group];
    auto* grid = new QGridLayout;
    for (int row = 0; row < kRowCount; ++row) {
        TapRow& controls = tap.rows[row];
        const bool gain = row == GainRow;
        const bool blackLevel = row == BlackLevelRow;
        const int min = gain || blackLevel ? 0 : kColourMin;
        const int max = gain ? kGainMax : blackLevel ? kBlackLevelMax : kColourMax;
        controls.slider = makeSlider(this, min, max, 1);
        controls.slider->setMinimumWidth(DialogUnits::standard().toPixelsX(90));
        controls.edit = makeEdit(this);
        controls.edit->setMaximumWidth(controls.edit->minimumWidth());
        grid->addWidget(makeLabel(this, QString::fromLatin1(kRowCaptions[row])), row, 0);
        grid->addWidget(controls.slider, row, 1);
        grid->addWidget(controls.edit, row, 2);
        if (!blackLevel) {
            controls.decibels = new QLabel(this);
            controls.decibels->setMinimumWidth(controls.decibels->fontMetrics().horizontalAdvance(QStringLiteral("-00.00dB")));
            controls.decibels->setAccessibleName(captionOf(group, row) + QStringLiteral(" dB"));
            grid->addWidget(controls.decibels, row, 3);
        }
    }
    grid->setColumnStretch(1, 1);
    tap.box = makeGroup(this, QString::fromLatin1(kGroupTitles[group]), grid);
    if (group != 0) {
        // The first group keeps its place and size whichever groups are shown.
        QSizePolicy policy = tap.box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        tap.box->setSizePolicy(policy);
        tap.box->hide();
    }
    return tap.box;
}

void CBrevoCLGainPage::declareBindings()
{
    for (int group = 0; group < kGroupCount; ++group) {
        for (int row = 0; row < kRowCount; ++row) {
            TapRow& controls = m_groups[group].rows[row];
            const QString caption = captionOf(group, row);
            const QByteArray word = wordFor(group, Row(row));
            const Format decibels = row == GainRow ? kGainDecibels : row == BlackLevelRow ? Format() : Format(colourDecibels);
            controls.sliding = &bind().slider(controls.slider, caption, word).edit(controls.edit);
            controls.typing = &bind().edit(controls.edit, caption, word).send(SendMode::line()).slider(controls.slider);
            if (decibels) {
                controls.sliding->readout(controls.decibels, decibels);
                controls.typing->readout(controls.decibels, decibels);
            }
        }
    }
    bind().slider(m_targetLevel, QStringLiteral("Target Level"), cmd::AGC_LEVEL);

    bind().combo(m_agc, QStringLiteral("Auto Gain Control"), cmd::AGC).send(SendMode::line()).then([this](int mode) {
        m_agcMode = mode;
        if (mode != 0)
            polling()->start();
    });
    // The black-level sliders follow a new balance mode at the next load.
    bind().combo(m_blackLevelAuto, QStringLiteral("Black Level Auto Balance"), cmd::BL_AB).send(SendMode::line());
    connect(m_awb, &QComboBox::activated, this, &CBrevoCLGainPage::selectWhiteBalance);
    // The balance is sent by the page's own handler; a file keeps the
    // camera's mode (ByApp is the page's, never the camera's).
    bind().setting(m_awb, cmd::AWB, [this]() -> std::optional<QByteArray> {
        const int mode = m_awb->currentIndex();
        if (mode < 0 || mode == kWhiteBalanceByApp)
            return std::nullopt;
        return setLine(cmd::AWB, mode);
    });
    bind().action(m_individualBox, [this] { switchMode(m_individualBox->isChecked()); });
}

void CBrevoCLGainPage::declareLoad()
{
    load()
        .number(cmd::AGC_LEVEL,
                [this](int level) {
                    m_targetLevel->setRange(0, kTargetLevelMax);
                    m_targetLevel->setTickInterval(1);
                    m_targetLevel->setValue(level);
                })
        .number(cmd::AGC,
                [this](int mode) {
                    selectIndex(m_agc, mode);
                    m_agcMode = mode;
                })
        .optional(
            cmd::AWB,
            [this](int mode) {
                m_awb->setEnabled(true);
                selectIndex(m_awb, mode);
                m_awbMode = mode;
            },
            [this] {
                m_awb->setEnabled(false);
                m_awbMode = 0;
            })
        .optional(
            cmd::BL_AB,
            [this](int mode) {
                m_blackLevelAuto->setEnabled(true);
                selectIndex(m_blackLevelAuto, mode);
                m_blackLevelAutoMode = mode;
            },
            [this] {
                m_blackLevelAuto->setEnabled(false);
                m_blackLevelAutoMode = 0;
            })
        .step([this] {
            if (m_individual) {
                readIndividualGroups();
                return;
            }
            // Whether a running balance locks the common black level is left
            // as it was.
            for (TapGroup& group : m_groups)
                group.rows[BlackLevelRow].slider->setRange(0, kBlackLevelMax);
            readGroup(0);
        });
}

void CBrevoCLGainPage::OnInitDialog()
{
    m_individual = 0;
    // With one tap there is nothing to control tap by tap.
    m_individualBox->setVisible(sensorTaps() != 1);
    Page::OnInitDialog();
}

QByteArray CBrevoCLGainPage::wordFor(int group, Row row) const
{
    if (group == 0 && !m_individual)
        return kCommonWords[row];
    return kTapWords[row][group];
}

void CBrevoCLGainPage::useWordsOfMode()
{
    for (int row = 0; row < kRowCount; ++row) {
        TapRow& controls = m_groups[0].rows[row];
        controls.sliding->setWord(wordFor(0, Row(row)));
        controls.typing->setWord(wordFor(0, Row(row)));
    }
}

void CBrevoCLGainPage::switchMode(bool individual)
{
    m_individual = individual ? 1 : 0;
    m_groups[0].box->setTitle(individual ? QStringLiteral("Left/tap1") : QStringLiteral("Common"));
    for (int group = 1; group < kGroupCount; ++group)
        m_groups[group].box->setVisible(individual);
    useWordsOfMode();
    LoadFromCamera();
}

void CBrevoCLGainPage::readIndividualGroups()
{
    for (TapGroup& group : m_groups) {
        QSlider* blackLevel = group.rows[BlackLevelRow].slider;
        blackLevel->setRange(kBlackLevelTrimMin, kBlackLevelTrimMax);
        blackLevel->setEnabled(m_blackLevelAutoMode != kContinuous);
    }
    // Only the taps the sensor has; any other count reads none.
    const int taps = sensorTaps();
    if (taps == 1 || taps == 2 || taps == 4)
        readGroup(0);
    if (taps == 2 || taps == 4)
        readGroup(1);
    if (taps == 4) {
        readGroup(2);
        readGroup(3);
    }
}

void CBrevoCLGainPage::readGroup(int group)
{
    TapGroup& tap = m_groups[group];
    tap.rows[GainRow].sliding->show(QueryInt(connection(), wordFor(group, GainRow)));
    tap.rows[BlackLevelRow].sliding->show(QueryInt(connection(), wordFor(group, BlackLevelRow)));
    for (Row row : {RedRow, GreenRow, BlueRow})
        readColour(group, row);
}

void CBrevoCLGainPage::readColour(int group, Row row)
{
    TapRow& controls = m_groups[group].rows[row];
    int value = 0;
    if (TryQueryInt(connection(), wordFor(group, row), value)) {
        controls.slider->setEnabled(true);
        controls.sliding->show(value);
    } else {
        // A mono camera has no colour gains.
        controls.slider->setEnabled(false);
        controls.edit->setText(kNotAvailable);
        controls.decibels->setText(kNotAvailable);
    }
}

void CBrevoCLGainPage::selectWhiteBalance(int index)
{
    if (index < 0)
        return;
    Connection& link = connection();
    if (index == kWhiteBalanceByApp) {
        // The camera's own balance is switched off and one frame is
        // triggered by software from source 0 for the application to measure.
        Transact(link, setLine(cmd::AWB, 0), 1.0);
        m_awbMode = 0;
        Transact(link, setLine(cmd::TRG_SRC, 0), 1.0);
        Transact(link, setLine(cmd::TRG_MODE, 1), 1.0);
        link.pauseMs(kTriggerSettleMs);
        Transact(link, setLine(cmd::TRG_SOFT, 1), 1.0);
    } else {
        Transact(link, setLine(cmd::AWB, index), 1.0);
        m_awbMode = index;
        Transact(link, setLine(cmd::TRG_MODE, 0), 1.0);
    }
    if (m_awbMode != 0)
        polling()->start();
}

void CBrevoCLGainPage::pollAutomaticControls()
{
    // The camera reports its automatic results under the first tap's words,
    // whichever mode the page is in.
    TapGroup& first = m_groups[0];
    if (m_agcMode != 0)
        first.rows[GainRow].sliding->show(QueryInt(connection(), cmd::GAIN_FINE_TAP1));
    if (m_awbMode != 0) {
        first.rows[RedRow].sliding->show(QueryInt(connection(), cmd::RGAIN_FINE_TAP1));
        first.rows[BlueRow].sliding->show(QueryInt(connection(), cmd::BGAIN_FINE_TAP1));
    }
    m_awbMode = QueryInt(connection(), cmd::AWB);
    selectIndex(m_awb, m_awbMode);
    m_agcMode = QueryInt(connection(), cmd::AGC);
    selectIndex(m_agc, m_agcMode);
    if (m_agcMode == 0 && m_awbMode == 0)
        polling()->stop();
}
