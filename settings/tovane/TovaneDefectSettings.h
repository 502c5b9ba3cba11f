#pragma once

#include "Catalogue.h"

// The "Defect" page of a Tovane camera: the camera's own defect-pixel
// detection with the exposure, gain and threshold it runs at, the number of
// defects found, defect correction, and the camera's defect data.
class TovaneDefectSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneDefectSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // Shown by both "Check" and "Correction", which both send it.
    Setting* correction = nullptr;
    // What a detection runs at. Each section's edits keep the user's own
    // values for its run, so nothing shows these and a file leaves them out.
    Setting* exposure = nullptr;
    Setting* gainFine = nullptr;
    Setting* threshold = nullptr;
    // The number of defects the last detection found; read on request.
    Setting* detectionResult = nullptr;

    const CameraCommand* detection = nullptr;
    const CameraCommand* loadPattern = nullptr;
    const CameraCommand* savePattern = nullptr;
};
