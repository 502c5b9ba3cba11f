#pragma once

#include <QString>

#include <optional>

struct CameraCommand;
class QAbstractButton;
class QLineEdit;
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

// The width typed into the edit, in milliseconds: a whole number from 0 to
// kMaxWidthMs. Anything else fires nothing: the edit is marked and the
// status line says why.
std::optional<int> widthFrom(SendPath& path, QLineEdit* edit);

void fire(SendPath& path, const CameraCommand& trigger, QWidget* page, QAbstractButton* fireButton, int widthMs);

} // namespace SoftTriggerPulse
