#include "TovaneGainSettings.h"

#include "CommandWords.h"

namespace {

// The filter cells in row-major order, each with its own command word.
const char* const kFilterWords[] = {cmd::SP_FL_VAL_00, cmd::SP_FL_VAL_01, cmd::SP_FL_VAL_02,
                                    cmd::SP_FL_VAL_10, cmd::SP_FL_VAL_11, cmd::SP_FL_VAL_12,
                                    cmd::SP_FL_VAL_20, cmd::SP_FL_VAL_21, cmd::SP_FL_VAL_22};
const char* const kFilterCells[] = {"00", "01", "02", "10", "11", "12", "20", "21", "22"};

} // namespace

// In the order the camera is read: the two HELP ranges first, then the
// values, the trigger sources' choice lists where the lists need them, and
// the filter's cells only when the camera has a filter.
TovaneGainSettings::TovaneGainSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    gainFine = &declare(cmd::GAIN_FINE, QStringLiteral("Step"));
    blackLevel = &declare(cmd::BLACKLEVEL, QStringLiteral("BlackLevel"));
    readRangeAt(*gainFine);
    readRangeAt(*blackLevel);
    exposureSpeed = &number(cmd::AE_SPEED, QStringLiteral("AE Speed"));
    gainSpeed = &number(cmd::AGC_SPEED, QStringLiteral("AGC Speed"));
    triggerDelay = &number(cmd::TRG_DLY, QStringLiteral("Trigger Delay"));
    exposureMode = &number(cmd::EXP_MODE, QStringLiteral("ExposureMode"));
    exposureAuto = &number(cmd::AE, QStringLiteral("ExposureAutoMode"));
    gainAuto = &number(cmd::AGC, QStringLiteral("GainAutoMode"));
    exposureTime = &number(cmd::EXP, QStringLiteral("ExposureTime"));
    gain = &number(cmd::GAIN, QStringLiteral("Gain")).notSaved();
    readAt(*gainFine);
    readAt(*blackLevel);
    gainAutoLevel = &number(cmd::AGC_LEVEL, QStringLiteral("GainAutoLevel(AE-TARGET)"));
    triggerMode = &number(cmd::TRG_MODE, QStringLiteral("TriggerMode"));
    triggerPolarity = &number(cmd::TRG_POL, QStringLiteral("Trigger Polarity"));
    triggerInhibit = &number(cmd::TRG_INH, QStringLiteral("Trigger Inhibit"));
    triggerRange = &number(cmd::TRIGGER_RANGE, QStringLiteral("TriggerRange"));
    triggerRangeLowerLimit = &number(cmd::TRIGGER_RANGE_LOWERLIMIT, QStringLiteral("TriggerRange Lower"));
    gainUpper = &number(cmd::AGC_UPPER, QStringLiteral("GainAuto upper"));
    gainLower = &number(cmd::AGC_LOWER, QStringLiteral("GainAuto Lower"));
    exposureUpper = &number(cmd::AE_UPPER, QStringLiteral("ExposureAuto upper"));
    exposureLower = &number(cmd::AE_LOWER, QStringLiteral("ExposureAuto Lower"));
    triggerSource = &declare(cmd::TRG_SRC, QStringLiteral("Trigger Source"));
    readChoicesAt(*triggerSource);
    readAt(*triggerSource);
    specialMode = &number(cmd::SP_TRG_MODE, QStringLiteral("Special Trigger"));
    specialSource = &declare(cmd::SP_TRG_SRC, QStringLiteral("TriggerSource"));
    readChoicesAt(*specialSource);
    readAt(*specialSource);
    frameCount = &number(cmd::SP_TRG_F_CNT, QStringLiteral("NumberOfFrame"));
    specialPolarity = &number(cmd::SP_TRG_POL, QStringLiteral("Polarity"));
    areaWidth = &number(cmd::AGC_WIDTH, QStringLiteral("Area Width"));
    areaHeight = &number(cmd::AGC_HEIGHT, QStringLiteral("Area Height"));
    areaOffsetX = &number(cmd::AGC_OFFSETX, QStringLiteral("Area OffsetX"));
    areaOffsetY = &number(cmd::AGC_OFFSETY, QStringLiteral("Area OffsetY"));
    filterEnable = &optionalNumber(cmd::SP_FL, QStringLiteral("Spatial Filter Enable"));
    for (int cell = 0; cell < 9; ++cell) {
        coefficients[cell] =
            &declare(kFilterWords[cell], QStringLiteral("Coefficient %1").arg(QLatin1String(kFilterCells[cell])));
    }
    step([this] {
        for (Setting* cell : coefficients) {
            if (filterEnable->isKnown())
                read(*cell);
            else
                cell->setUnavailable();
        }
    });

    // Not read by the fixed order above, so read after it.
    areaHighlight = &declare(cmd::AGC_FRAME_HIGHLIGHT, QStringLiteral("AE/AGC Detect Area HighLight"));
    readAfterLoad(*areaHighlight);

    softTrigger = &command(cmd::TRG_SOFT, QStringLiteral("FireSoftTrigger"));

    // The camera has always been sent this line with a carriage return of its
    // own, so an empty line follows it.
    triggerInhibit->lineFrom([](const QByteArray& argument) { return cmd::TRG_INH + (' ' + argument) + '\r'; });
    // Whole decibels set the steps too.
    gain->followedBy({gainFine});
}
