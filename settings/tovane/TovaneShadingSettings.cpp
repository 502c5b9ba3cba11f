#include "TovaneShadingSettings.h"

#include "CommandWords.h"

TovaneShadingSettings::TovaneShadingSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    // A line of it is a save, which the camera takes its time for.
    patternSlots = &declare(cmd::SHADING_PATTERN_SAVE, QStringLiteral("PatternSelect"))
                        .readOnly()
                        .sentWith(SendMode::transact(kSaveTimeoutSeconds));
    readRangeAt(*patternSlots);

    // The switches go out without waiting for the camera's answer.
    patternCheck = &declare(cmd::SHADING_PATTERN_CHECK, QStringLiteral("ShadingPatternCheck")).sentWith(SendMode::line());
    correction = &declare(cmd::SHADING_CORRECTION, QStringLiteral("Shading Correction")).sentWith(SendMode::line());
    // Not read by the fixed order above, so read after it.
    readAfterLoad(*patternCheck);
    readAfterLoad(*correction);

    // The start waits for the camera's answer: a start it refuses (the
    // correction is on) leaves nothing to poll and no pattern to save.
    detection = &command(cmd::SHADING_DETECTION, QStringLiteral("Detection"), SendMode::transact());
    savePattern = &command(cmd::SHADING_PATTERN_SAVE, QStringLiteral("Save"), SendMode::transact(kSaveTimeoutSeconds));
    loadPattern = &command(cmd::SHADING_PATTERN_LOAD, QStringLiteral("Load"), SendMode::line());
}
