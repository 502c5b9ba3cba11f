#include "Behaviours.h"

#include <cmath>
#include <limits>

namespace sim::hooks {

namespace {

constexpr qint64 kPeakShadingUs = 3500000;
constexpr qint64 kAverageShadingUs = 5500000;
constexpr qint64 kDefectDetectionUs = 5000000;
constexpr int kUserIdLength = 16;

// The exposure an automatic exposure settles at for the usual target level.
constexpr int kSceneExposureUs = 20000;
// Where automatic white balance takes red and blue for the simulated light.
constexpr int kBalancedRed = 424;
constexpr int kBalancedBlue = 531;

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

int binning(CameraCore& camera, const char* word)
{
    return qMax(1, camera.value(word));
}

int sent(const Request& request)
{
    return request.values.isEmpty() ? 0 : request.values.first();
}

QByteArray tapWord(const QByteArray& word, int tap)
{
    return word + "-TAP" + QByteArray::number(tap);
}

// The target level relative to the camera's usual one: 1.0 at the default.
double targetLevel(CameraCore& camera)
{
    const CommandDefinition* row = camera.definition("AGC-LEVEL");
    if (!row || row->def == 0)
        return 1.0;
    return double(camera.value("AGC-LEVEL")) / double(row->def);
}

} // namespace

QByteArray modelName(CameraCore& camera, const Request&)
{
    return camera.model().name.toLatin1();
}

QByteArray serialNumber(CameraCore& camera, const Request&)
{
    return camera.model().serial;
}

QByteArray temperature(CameraCore& camera, const Request& request)
{
    // Warms up by a degree a minute after power-on, up to eight degrees.
    const qint64 minutes = (request.nowUs - camera.startedUs()) / 60000000;
    const int base = camera.family() == Family::Tovane ? 36 : 39;
    return number(base + boundedTo(0, minutes, 8));
}

QByteArray lastError(CameraCore& camera, const Request&)
{
    return camera.takeLastError();
}

QByteArray currentRate(CameraCore& camera, const Request&)
{
    return number(camera.listeningRate());
}

QByteArray actualFrameRate(CameraCore& camera, const Request&)
{
    // Frame rates are in millionths of a frame per second. The sensor reads
    // a shorter image faster; a long exposure limits the rate too.
    const CommandDefinition* row = camera.definition("FRAMERATE");
    const qint64 fastest = row ? row->range.max : 30000000;
    const qint64 height = qMax(2, camera.value("HEIGHT"));
    const qint64 readout = qMin<qint64>(fastest * 8, fastest * qMax(height, qint64(camera.sensorHeight())) / height);
    const qint64 exposure = 1000000000000LL / qMax(1, camera.value("EXP"));
    qint64 rate = qMin(readout, exposure);
    if (camera.value("FRAMERATE-AUTO") == 0)
        rate = qMin<qint64>(rate, camera.value("FRAMERATE"));
    return number(qMin<qint64>(rate, std::numeric_limits<int>::max()));
}

QByteArray brevoGainDb(CameraCore& camera, const Request&)
{
    // 0.0359 dB per fine step, whole decibels rounded down.
    return number(qint64(camera.value("GAIN-FINE")) * 359 / 10000);
}

QByteArray tovaneGainDb(CameraCore& camera, const Request&)
{
    return number(camera.value("GAIN-FINE") / 10);
}

QByteArray shadingStatus(CameraCore& camera, const Request&)
{
    return number(camera.shading.mode);
}

QByteArray defectStatus(CameraCore& camera, const Request&)
{
    return number(camera.defects.mode);
}

QByteArray defectResult(CameraCore& camera, const Request&)
{
    return number(camera.defects.result);
}

QByteArray inputLevel(CameraCore& camera, const Request& request)
{
    // A bidirectional pin switched to output reads back what it drives; a
    // camera that cannot switch them has pin 4 fixed as an output.
    const int pin = request.index.toInt();
    const bool output = camera.supports("GPIO-MODE") ? (pin == 7 || pin == 4) && camera.value("GPIO-MODE", request.index) == 1
                                                     : pin == 4;
    if (output) {
        const int source = camera.value("GPO-SRC", request.index);
        int level = 0;
        if (source >= 7 && source <= 9)
            level = camera.value("USER-OUTPUT", QByteArray::number(source - 6));
        else if (source == 12)
            level = 1;
        if (camera.value("GPO-INV", request.index) != 0)
            level = 1 - level;
        return number(level);
    }
    return number(camera.inputLevels.value(pin));
}

const char* userIdFits(CameraCore&, const Request& request)
{
    return request.text.size() > kUserIdLength ? "Text too long" : nullptr;
}

const char* imageFitsSensor(CameraCore& camera, const Request& request)
{
    const QByteArray word = request.definition.word;
    const bool horizontal = word == "WIDTH" || word == "OFFSETX";
    const bool isSize = word == "WIDTH" || word == "HEIGHT";
    const int limit = horizontal ? camera.sensorWidth() / binning(camera, "HBIN")
                                 : camera.sensorHeight() / binning(camera, "VBIN");
    const qint64 size = isSize ? sent(request) : camera.value(horizontal ? "WIDTH" : "HEIGHT");
    const qint64 offset = isSize ? camera.value(horizontal ? "OFFSETX" : "OFFSETY") : sent(request);
    return size + offset > limit ? "Does not fit the sensor" : nullptr;
}

const char* areaFitsSensor(CameraCore& camera, const Request& request)
{
    // AGC-OFFSETX, AWB-HEIGHT and the like: the area stays on the sensor.
    const QByteArray word = request.definition.word;
    const QByteArray prefix = word.left(word.indexOf('-') + 1);
    const QByteArray what = word.mid(prefix.size());
    const bool horizontal = what == "OFFSETX" || what == "WIDTH";
    const bool isSize = what == "WIDTH" || what == "HEIGHT";
    const qint64 size = isSize ? sent(request) : camera.value(prefix + (horizontal ? "WIDTH" : "HEIGHT"));
    const qint64 offset = isSize ? camera.value(prefix + (horizontal ? "OFFSETX" : "OFFSETY")) : sent(request);
    const int limit = horizontal ? camera.sensorWidth() : camera.sensorHeight();
    return size + offset > limit ? "Does not fit the sensor" : nullptr;
}

const char* regionFitsSensor(CameraCore& camera, const Request& request)
{
    // enable, width, height, left, top[, gain]
    const QList<int>& v = request.values;
    if (qint64(v.at(1)) + v.at(3) > camera.sensorWidth() || qint64(v.at(2)) + v.at(4) > camera.sensorHeight())
        return "Does not fit the sensor";
    return nullptr;
}

const char* someRegionEnabled(CameraCore& camera, const Request& request)
{
    if (sent(request) == 0)
        return nullptr;
    const QByteArray regions = QByteArray(request.definition.word).chopped(int(qstrlen("-ENABLE")));
    const CommandDefinition* row = camera.definition(regions);
    if (!row)
        return nullptr;
    for (const QByteArray& index : row->indexList()) {
        if (camera.value(regions, index) == 1)
            return nullptr;
    }
    return "No area enabled";
}

const char* averagingAllowed(CameraCore& camera, const Request& request)
{
    return sent(request) > 1 && camera.value("WIDED-ENABLE") == 1 ? "Not available with WDR" : nullptr;
}

const char* wideDynamicRangeAllowed(CameraCore& camera, const Request& request)
{
    return sent(request) == 1 && camera.value("AVERAGE") > 1 ? "Not available with averaging" : nullptr;
}

const char* pulseFits(CameraCore& camera, const Request& request)
{
    const bool duty = qstrcmp(request.definition.word, "PULSE-DUTY") == 0;
    const int cycle = duty ? camera.value("PULSE-CYCLE") : sent(request);
    const int width = duty ? sent(request) : camera.value("PULSE-DUTY");
    return width > cycle ? "Duty exceeds cycle" : nullptr;
}

const char* colourMatrixAllowed(CameraCore& camera, const Request& request)
{
    return sent(request) == 1 && camera.value("PIXEL-DEPTH") != 24 ? "Needs pixel depth 24" : nullptr;
}

const char* shadingDetectionAllowed(CameraCore& camera, const Request& request)
{
    if (sent(request) == 0)
        return nullptr;
    if (camera.shading.mode != 0)
        return "Busy";
    if (camera.value("SHADING-CORRECTION") == 1)
        return "Correction is on";
    return nullptr;
}

const char* shadingPatternAvailable(CameraCore& camera, const Request& request)
{
    // Saving needs a detected pattern; so does loading the slot after the
    // last one, which stands for the pattern last detected. Any other slot
    // loads only once a pattern is stored in it.
    const bool saving = qstrcmp(request.definition.word, "SHADING-PATTERN-SAVE") == 0;
    const CommandDefinition* save = camera.definition("SHADING-PATTERN-SAVE");
    const bool needsDetection = saving || (save && sent(request) > save->range.max);
    if (!needsDetection)
        return camera.savedPattern(sent(request)) ? nullptr : "No saved pattern";
    if (camera.shading.mode != 0)
        return "Busy";
    return !camera.shading.finished ? "No detected pattern" : nullptr;
}

const char* defectDetectionAllowed(CameraCore& camera, const Request& request)
{
    return sent(request) != 0 && camera.defects.mode != 0 ? "Busy" : nullptr;
}

const char* defectResultAvailable(CameraCore& camera, const Request&)
{
    if (camera.defects.mode != 0)
        return "Busy";
    return camera.defects.result < 0 ? "No detection result" : nullptr;
}

void clearUserId(CameraCore& camera, const Request&)
{
    camera.setText("USER-ID", {});
}

void restart(CameraCore& camera, const Request&)
{
    camera.powerOn();
    camera.restartAfterAnswer();
}

void factoryDefault(CameraCore& camera, const Request&)
{
    camera.restoreFactoryDefaults();
}

void switchRateNow(CameraCore& camera, const Request& request)
{
    // BAUDRATE-TMP lasts until the next start; BAUDRATE of the families that
    // switch at once is kept for the next start as well.
    camera.switchRateAfterAnswer(sent(request));
    if (qstrcmp(request.definition.word, "BAUDRATE") == 0)
        camera.setStartRate(sent(request));
}

void rebin(CameraCore& camera, const Request& request)
{
    // Binning changes the image size in sensor pixels: width and offset
    // follow, so the same part of the sensor stays in view.
    const int before = qMax(1, request.previous.value(0, 1));
    const int after = qMax(1, sent(request));
    const bool horizontal = qstrcmp(request.definition.word, "HBIN") == 0;
    const int limit = (horizontal ? camera.sensorWidth() : camera.sensorHeight()) / after;
    const QByteArray sizeWord = horizontal ? "WIDTH" : "HEIGHT";
    const QByteArray offsetWord = horizontal ? "OFFSETX" : "OFFSETY";
    auto rescale = [&](const QByteArray& word) {
        const CommandDefinition* row = camera.definition(word);
        if (!row)
            return;
        qint64 v = qint64(camera.value(word)) * before / after;
        if (row->range.step > 1 && v > row->range.min)
            v -= (v - row->range.min) % row->range.step;
        camera.setValue(word, int(boundedTo(row->range.min, v, row->range.max)));
    };
    rescale(sizeWord);
    rescale(offsetWord);
    const int size = qMin(camera.value(sizeWord), limit);
    camera.setValue(sizeWord, size);
    camera.setValue(offsetWord, qMin(camera.value(offsetWord), limit - size));
}

void setBrevoGainFromDb(CameraCore& camera, const Request& request)
{
    const qint64 fine = qMin<qint64>(502, (qint64(sent(request)) * 10000 + 358) / 359);
    camera.setValue("GAIN-FINE", int(fine));
    copyToTaps(camera, Request{*camera.definition("GAIN-FINE"), {}, {int(fine)}, {}, {}, request.nowUs});
}

void setTovaneGainFromDb(CameraCore& camera, const Request& request)
{
    camera.setValue("GAIN-FINE", sent(request) * 10);
}

void copyToTaps(CameraCore& camera, const Request& request)
{
    // The common value drives every tap; a tap's own word trims one tap.
    for (int tap = 1; tap <= 4; ++tap) {
        const QByteArray word = tapWord(request.definition.word, tap);
        if (camera.supports(word))
            camera.setValue(word, sent(request));
    }
}

void startAuto(CameraCore& camera, const Request& request)
{
    const QByteArray word = request.definition.word;
    camera.startAuto(word, sent(request), autoRamps(camera, word), request.nowUs);
}

void loadUserSet(CameraCore& camera, const Request& request)
{
    camera.loadUserSet(sent(request), request.nowUs);
}

void saveUserSet(CameraCore& camera, const Request& request)
{
    camera.saveUserSet(sent(request));
}

void saveShadingPattern(CameraCore& camera, const Request& request)
{
    camera.savePattern(sent(request));
}

void startShadingDetection(CameraCore& camera, const Request& request)
{
    const int mode = sent(request);
    camera.shading.mode = mode;
    camera.shading.endUs = request.nowUs + (mode == 2 ? kAverageShadingUs : kPeakShadingUs);
}

void startDefectDetection(CameraCore& camera, const Request& request)
{
    // The simulated sensor has more bright defects at lower thresholds, and
    // more still with gain and long exposures; fewer dark ones.
    const int mode = sent(request);
    camera.defects.mode = mode;
    if (mode == 0)
        return;
    camera.defects.endUs = request.nowUs + kDefectDetectionUs;
    const int threshold = camera.value("DEFECT-THRESHOLD");
    const int exposure = camera.value("EXP");
    if (mode == 1) {
        camera.defects.pendingResult = qMax(0, 48 - threshold / 8) + qMax(0, camera.value("GAIN-FINE")) / 24
            + qMin(20, exposure / 100000);
    } else {
        camera.defects.pendingResult = qMax(0, 20 - threshold / 16) + qMin(10, exposure / 200000);
    }
}

QList<CameraCore::Ramp> autoRamps(CameraCore& camera, const QByteArray& modeWord)
{
    QList<CameraCore::Ramp> ramps;
    auto add = [&](const QByteArray& word, qint64 to) {
        if (const CommandDefinition* row = camera.definition(word))
            ramps.append({word, camera.value(word), int(boundedTo(row->range.min, to, row->range.max))});
    };
    auto addWithTaps = [&](const QByteArray& word, qint64 to) {
        add(word, to);
        for (int tap = 1; tap <= 4; ++tap)
            add(tapWord(word, tap), to);
    };
    const double level = targetLevel(camera);
    if (modeWord == "AE") {
        const qint64 target = std::llround(kSceneExposureUs * level);
        add("EXP", boundedTo(camera.value("AE-LOWER"), target, qMax(camera.value("AE-LOWER"), camera.value("AE-UPPER"))));
    } else if (modeWord == "AGC") {
        // Brevo limits are in fine steps, Tovane limits in whole decibels.
        const int scale = camera.family() == Family::Tovane ? 10 : 1;
        const qint64 lower = qint64(camera.value("AGC-LOWER")) * scale;
        const qint64 upper = qMax(lower, qint64(camera.value("AGC-UPPER")) * scale);
        addWithTaps("GAIN-FINE", lower + std::llround(double(upper - lower) * qBound(0.0, level / 2.0, 1.0)));
    } else if (modeWord == "AWB") {
        addWithTaps("RGAIN-FINE", kBalancedRed);
        addWithTaps("BGAIN-FINE", kBalancedBlue);
    } else if (modeWord == "BL-AB") {
        const int trims[] = {3, -2, 2, -3};
        for (int tap = 1; tap <= 4; ++tap)
            add("BL-ADJ-" + QByteArray::number(tap), trims[tap - 1]);
    }
    return ramps;
}

} // namespace sim::hooks
