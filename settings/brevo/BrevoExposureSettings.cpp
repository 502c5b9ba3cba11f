#include "BrevoExposureSettings.h"

#include "CommandWords.h"

namespace {

// These words are set with a carriage return of their own, so the camera
// receives an empty line after the setting.
Setting& withOwnCarriageReturn(Setting& setting)
{
    const QByteArray word = setting.word();
    return setting.lineFrom([word](const QByteArray& argument) { return word + ' ' + argument + '\r'; });
}

} // namespace

// In the order the camera is read; each list of trigger sources right before
// the source that picks one of them. The special trigger's words end in a
// blank of their own, so its lines carry two blanks before the value.
BrevoExposureSettings::BrevoExposureSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    autoExposure = &number(cmd::AE, QStringLiteral("Auto Exposure"));
    exposureTime = &number(cmd::EXP, QStringLiteral("ExposureTime"));
    triggerDelay = &number(cmd::TRG_DLY, QStringLiteral("Trigger Delay"));
    triggerMode = &number(cmd::TRG_MODE, QStringLiteral("TriggerMode"));
    triggerPolarity = &number(cmd::TRG_POL, QStringLiteral("TriggerPolarity"));
    triggerControl = &number(cmd::TRG_CTRL, QStringLiteral("TriggerControl"));
    triggerSource = &declare(cmd::TRG_SRC, QStringLiteral("Source"));
    readChoicesAt(*triggerSource);
    readAt(*triggerSource);
    exposureMode = &withOwnCarriageReturn(number(cmd::EXP_MODE, QStringLiteral("EXP-MODE")));
    triggerInhibit = &withOwnCarriageReturn(number(cmd::TRG_INH, QStringLiteral("Trigger Inhibit")));
    triggerShift = &withOwnCarriageReturn(number(cmd::TRG_SHIFT, QStringLiteral("TriggerShift")));
    triggerRange = &number(cmd::TRIGGER_RANGE, QStringLiteral("TriggerRange"));
    lowerLimit = &number(cmd::TRIGGER_RANGE_LOWERLIMIT, QStringLiteral("Lower"));
    upperLimit = &number(cmd::TRIGGER_RANGE_UPPERLIMIT, QStringLiteral("Upper"));
    specialMode = &number(cmd::SP_TRG_MODE, QStringLiteral("Special Trigger Mode"));
    specialSource = &declare(cmd::SP_TRG_SRC, QStringLiteral("Trigger source"));
    readChoicesAt(*specialSource);
    readAt(*specialSource);
    frameCount = &number(cmd::SP_TRG_F_CNT, QStringLiteral("Number of frames"));
    specialPolarity = &number(cmd::SP_TRG_POL, QStringLiteral("Trigger Polarity"));

    softTrigger = &command(cmd::TRG_SOFT, QStringLiteral("Fire SoftTrigger"));
}
