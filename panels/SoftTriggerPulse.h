#pragma once

#include <QString>

struct CameraCommand;
class QAbstractButton;
class SendPath;
class QWidget;

// The software trigger held high for a typed width ("TRG-SOFT 1", the width,
// "TRG-SOFT 0"), as the gain and exposure pages fire it.
//
// The width is kept between 0 and a minute, so the page never waits for
// ever. The window keeps repainting and reacting during the pulse, the fire
// button cannot start a second pulse inside the first, and the trigger is
// brought down even when the page goes away meanwhile.
namespace SoftTriggerPulse {

inline constexpr int kMaxWidthMs = 60000;

// A typed width in milliseconds: not a number counts as 0, then clamped.
int widthFrom(const QString& typed);

void fire(SendPath& path, const CameraCommand& trigger, QWidget* page, QAbstractButton* fireButton, int widthMs);

} // namespace SoftTriggerPulse
