#include "BrevoShadingSettings.h"

#include "CommandWords.h"

BrevoShadingSettings::BrevoShadingSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    const SendMode slow = SendMode::transact(kTimeoutSeconds);
    correction = &number(cmd::SHADING_CORRECTION, QStringLiteral("Correction")).sentWith(slow);
    // A pattern number names what this camera stored; another camera's slot
    // holds another pattern, so files leave it out.
    patternInUse = &number(cmd::SHADING_PATTERN_LOAD, QStringLiteral("Select pattern")).sentWith(slow).notSaved();
    patternSlots = &declare(cmd::SHADING_PATTERN_SAVE, QStringLiteral("Save slot")).sentWith(slow).notSaved();
    readRangeAt(*patternSlots);

    savePattern = &command(cmd::SHADING_PATTERN_SAVE, QStringLiteral("Save"), slow);
    detection = &command(cmd::SHADING_DETECTION, QStringLiteral("Detection"),
                         SendMode::transact(kDetectionStartTimeoutSeconds));
}
