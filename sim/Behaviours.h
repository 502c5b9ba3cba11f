#pragma once

#include "CameraCore.h"

// The hooks of the command tables: what a few words do beyond storing a value.
namespace sim::hooks {

// Reads
QByteArray modelName(CameraCore& camera, const Request& request);
QByteArray serialNumber(CameraCore& camera, const Request& request);
QByteArray temperature(CameraCore& camera, const Request& request);
QByteArray lastError(CameraCore& camera, const Request& request);
QByteArray currentRate(CameraCore& camera, const Request& request);
QByteArray actualFrameRate(CameraCore& camera, const Request& request);
QByteArray brevoGainDb(CameraCore& camera, const Request& request);
QByteArray tovaneGainDb(CameraCore& camera, const Request& request);
QByteArray shadingStatus(CameraCore& camera, const Request& request);
QByteArray defectStatus(CameraCore& camera, const Request& request);
QByteArray defectResult(CameraCore& camera, const Request& request);
QByteArray inputLevel(CameraCore& camera, const Request& request);

// Checks
const char* userIdFits(CameraCore& camera, const Request& request);
const char* imageFitsSensor(CameraCore& camera, const Request& request);
const char* areaFitsSensor(CameraCore& camera, const Request& request);
const char* regionFitsSensor(CameraCore& camera, const Request& request);
const char* someRegionEnabled(CameraCore& camera, const Request& request);
const char* averagingAllowed(CameraCore& camera, const Request& request);
const char* wideDynamicRangeAllowed(CameraCore& camera, const Request& request);
const char* pulseFits(CameraCore& camera, const Request& request);
const char* colourMatrixAllowed(CameraCore& camera, const Request& request);
const char* shadingDetectionAllowed(CameraCore& camera, const Request& request);
const char* shadingPatternAvailable(CameraCore& camera, const Request& request);
const char* defectDetectionAllowed(CameraCore& camera, const Request& request);
const char* defectResultAvailable(CameraCore& camera, const Request& request);

// Side effects
void clearUserId(CameraCore& camera, const Request& request);
void restart(CameraCore& camera, const Request& request);
void factoryDefault(CameraCore& camera, const Request& request);
void switchRateNow(CameraCore& camera, const Request& request);
void rebin(CameraCore& camera, const Request& request);
void setBrevoGainFromDb(CameraCore& camera, const Request& request);
void setTovaneGainFromDb(CameraCore& camera, const Request& request);
void copyToTaps(CameraCore& camera, const Request& request);
void startAuto(CameraCore& camera, const Request& request);
void loadUserSet(CameraCore& camera, const Request& request);
void saveUserSet(CameraCore& camera, const Request& request);
void saveShadingPattern(CameraCore& camera, const Request& request);
void startShadingDetection(CameraCore& camera, const Request& request);
void startDefectDetection(CameraCore& camera, const Request& request);

// The values an automatic control (AE, AGC, AWB, BL-AB) moves and where to.
QList<CameraCore::Ramp> autoRamps(CameraCore& camera, const QByteArray& modeWord);

} // namespace sim::hooks
