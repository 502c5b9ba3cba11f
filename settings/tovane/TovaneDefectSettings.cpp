#include "TovaneDefectSettings.h"

#include "CommandWords.h"

// The page reads nothing in its fixed order.
TovaneDefectSettings::TovaneDefectSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    correction = &declare(cmd::DEFECT_CORRECTION, QStringLiteral("Correction"));
    // Sent by the check boxes, so read after the (empty) fixed order.
    readAfterLoad(*correction);

    exposure = &declare(cmd::EXP, QStringLiteral("Exposure")).notSaved();
    gainFine = &declare(cmd::GAIN_FINE, QStringLiteral("Gain")).notSaved();
    threshold = &declare(cmd::DEFECT_THRESHOLD, QStringLiteral("Threshold")).notSaved();
    detectionResult = &declare(cmd::DEFECT_DETECTION_RESULT, QStringLiteral("DetectedNumber")).readOnly();

    detection = &command(cmd::DEFECT_DETECTION, QStringLiteral("Start Detection"));
    loadPattern = &command(cmd::DEFECT_PATTERN_LOAD, QStringLiteral("Load Data"));
    savePattern = &command(cmd::DEFECT_PATTERN_SAVE, QStringLiteral("WriteUserData"));
}
