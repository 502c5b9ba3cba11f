#include "BrevoGainSettings.h"

#include "CommandWords.h"

namespace {

const char* const kRowCaptions[] = {"Gain-fine", "BlackLevel", "RGain-fine", "GGain-fine", "BGain-fine"};

// Row by row: the common word, then the word of each tap.
const char* const kCommonWords[] = {cmd::GAIN_FINE, cmd::BLACKLEVEL, cmd::RGAIN_FINE, cmd::GGAIN_FINE, cmd::BGAIN_FINE};
const char* const kTapWords[][BrevoGainSettings::kTapCount] = {
    {cmd::GAIN_FINE_TAP1, cmd::GAIN_FINE_TAP2, cmd::GAIN_FINE_TAP3, cmd::GAIN_FINE_TAP4},
    {cmd::BL_ADJ_1, cmd::BL_ADJ_2, cmd::BL_ADJ_3, cmd::BL_ADJ_4},
    {cmd::RGAIN_FINE_TAP1, cmd::RGAIN_FINE_TAP2, cmd::RGAIN_FINE_TAP3, cmd::RGAIN_FINE_TAP4},
    {cmd::GGAIN_FINE_TAP1, cmd::GGAIN_FINE_TAP2, cmd::GGAIN_FINE_TAP3, cmd::GGAIN_FINE_TAP4},
    {cmd::BGAIN_FINE_TAP1, cmd::BGAIN_FINE_TAP2, cmd::BGAIN_FINE_TAP3, cmd::BGAIN_FINE_TAP4},
};

bool isColour(int row)
{
    return row >= BrevoGainSettings::RedRow;
}

} // namespace

// The automatic controls first, then the values of the mode shown: the
// common ones, or those of the taps the sensor has. A mono camera refuses the
// colour gains and the white balance, a one-tap camera the black-level
// balance.
BrevoGainSettings::BrevoGainSettings(Connection& connection, const QString& title, const CatalogueContext& context)
    : PageSettings(connection, title), m_sensorTaps(context.sensorTaps)
{
    targetLevel = &number(cmd::AGC_LEVEL, QStringLiteral("Target Level"));
    gainAuto = &number(cmd::AGC, QStringLiteral("Auto Gain Control"));
    whiteBalance = &optionalNumber(cmd::AWB, QStringLiteral("Auto White Balance"));
    blackLevelAuto = &optionalNumber(cmd::BL_AB, QStringLiteral("Black Level Auto Balance"));

    // Files keep the values of the mode the page shows.
    const auto savedWhen = [this](bool individualMode) {
        return [this, individualMode](const Setting& setting) -> std::optional<QByteArray> {
            if (m_individual != individualMode)
                return std::nullopt;
            return setting.lineFor(setting.value());
        };
    };
    const auto form = [](int row) { return isColour(row) ? Setting::Form::OptionalNumber : Setting::Form::Number; };
    for (int row = 0; row < kRowCount; ++row) {
        const QString caption = QString::fromLatin1(kRowCaptions[row]);
        common[row] = &declare(kCommonWords[row], caption, form(row)).savedAs(savedWhen(false));
        for (int tap = 0; tap < kTapCount; ++tap) {
            const QString tapCaption = QStringLiteral("%1 tap%2").arg(caption).arg(tap + 1);
            taps[tap][row] = &declare(kTapWords[row][tap], tapCaption, form(row)).savedAs(savedWhen(true));
        }
    }
    step([this] {
        if (!m_individual) {
            readRows(common);
            return;
        }
        for (int group = 0; group < tapGroupsRead(); ++group)
            readRows(taps[group]);
    });

    triggerSource = &declare(cmd::TRG_SRC, QStringLiteral("Auto White Balance: trigger source")).notSaved();
    triggerMode = &declare(cmd::TRG_MODE, QStringLiteral("Auto White Balance: trigger mode")).notSaved();
    softTrigger = &command(cmd::TRG_SOFT, QStringLiteral("Auto White Balance"));
}

Setting& BrevoGainSettings::rowSetting(int group, Row row) const
{
    return group == 0 && !m_individual ? *common[row] : *taps[group][row];
}

int BrevoGainSettings::tapGroupsRead() const
{
    // Any other count (an unanswered SENSOR-TAP) reads none.
    switch (m_sensorTaps) {
    case 1:
    case 2:
    case 4:
        return m_sensorTaps;
    default:
        return 0;
    }
}

void BrevoGainSettings::readRows(const std::array<Setting*, kRowCount>& rows)
{
    for (Setting* setting : rows)
        read(*setting);
}

void BrevoGainSettings::readFirstTap(Row row)
{
    Setting& first = *taps[0][row];
    read(first);
    // The camera reports its automatic results under the first tap's words;
    // in common mode every tap holds the common value, so that is its result.
    if (!m_individual && first.isKnown())
        common[row]->setValue(first.value());
}

bool BrevoGainSettings::readAutomaticResults()
{
    if (gainAuto->number().value_or(0) != 0)
        readFirstTap(GainRow);
    if (whiteBalance->number().value_or(0) != 0) {
        readFirstTap(RedRow);
        readFirstTap(BlueRow);
    }
    read(*whiteBalance);
    read(*gainAuto);
    return gainAuto->number().value_or(0) != 0 || whiteBalance->number().value_or(0) != 0;
}
