#include "SimFixture.h"

#include "Answer.h"
#include "CommandWords.h"
#include "Scan.h"

#include <functional>

// Every page's load routine against a model of its family: each query is put
// the way the page puts it and must be answered the way the page reads it.
// A step is "<form>:<line>":
//   i  an integer value (the answer checks out as for TryQueryInt)
//   f  refused (the page greys the control out)
//   t  a text value that is not empty; e: a text value that may be empty
//   c  choice lines " <n>(<text>)"
//   r  a range line with max above min
//   n2, n5, n6  a value line of that many integers
//   x  accepted by Transact; y: refused by Transact

namespace {

struct PageLoad {
    const char* page;
    const char* model;
    QStringList steps;
};

QStringList each(const QString& pattern, const QStringList& values)
{
    QStringList steps;
    for (const QString& v : values)
        steps.append(pattern.arg(v));
    return steps;
}

const QStringList kCells = {"00", "01", "02", "10", "11", "12", "20", "21", "22"};
const QStringList kPoints = {"1", "2", "3", "4", "5"};
const QStringList kTaps = {"1", "2", "3", "4"};

QStringList range(int first, int last)
{
    QStringList values;
    for (int i = first; i <= last; ++i)
        values.append(QString::number(i));
    return values;
}

QStringList identity()
{
    return {"t:VENDOR", "t:MODEL", "t:ID", "t:VERSION", "t:MANUFACTURER", "e:USER-ID"};
}

QStringList brevoGeneral(const char* binning)
{
    return identity()
        + QStringList{"i:WIDTH", "i:HEIGHT", "i:OFFSETX", "i:OFFSETY", "i:FRAMERATE", "i:FRAMERATE-ACTUAL",
                      "i:FRAMERATE-AUTO", "i:TEMPERATURE", "i:USERSET-DEFAULT", QString(binning) + ":HBIN",
                      QString(binning) + ":VBIN", "i:BAUDRATE", "i:TESTCHART", "i:SENSOR-TAP", "i:CAMERALINK-TAP",
                      "c:LED-MODE", "i:LED-MODE", "i:PIXEL-DEPTH", "i:VSUB-EXTERNAL-MODE", "i:VSUB-EXTERNAL",
                      "x:DEFECT-PATTERN-SELECTOR 0", "i:EXP", "i:GAIN", "x:EXP 2000000", "x:GAIN 18"};
}

QStringList brevoExposure()
{
    return {"i:AE", "i:EXP", "i:TRG-DLY", "i:TRG-MODE", "i:TRG-POL", "i:TRG-CTRL", "c:TRG-SRC", "i:TRG-SRC",
            "i:EXP-MODE", "i:TRG-INH", "i:TRG-SHIFT", "i:TRIGGER-RANGE", "i:TRIGGER-RANGE-LOWERLIMIT",
            "i:TRIGGER-RANGE-UPPERLIMIT", "i:SP-TRG-MODE ", "c:SP-TRG-SRC ", "i:SP-TRG-SRC ", "i:SP-TRG-F-CNT ",
            "i:SP-TRG-POL "};
}

QStringList brevoGainGroups(int taps, const char* colour)
{
    QStringList steps;
    for (int tap = 1; tap <= taps; ++tap) {
        const QString n = QString::number(tap);
        steps += {"i:GAIN-FINE-TAP" + n, "i:BL-ADJ-" + n, QString(colour) + ":RGAIN-FINE-TAP" + n,
                  QString(colour) + ":GGAIN-FINE-TAP" + n, QString(colour) + ":BGAIN-FINE-TAP" + n};
    }
    return steps + QStringList{"i:GAIN-FINE", "i:BLACKLEVEL", QString(colour) + ":RGAIN-FINE",
                               QString(colour) + ":GGAIN-FINE", QString(colour) + ":BGAIN-FINE"};
}

QStringList brevoDsp(bool colour)
{
    QStringList steps = {"i:LUT-FORMAT", "i:BINARIZATION"};
    steps += each("n2:LINEAR-INTERPOLATION %1", kPoints);
    steps += "i:PIXEL-DEPTH";
    if (colour) {
        steps += "i:CR-TF ";
        steps += each("i:CR-TF-VAL %1 ", kCells);
        steps += "i:SP-FL ";
        steps += each("i:SP-FL-VAL %1", kCells);
    } else {
        steps += "f:SP-FL ";
    }
    return steps + QStringList{"i:SHARP", colour ? "x:HELP LIBR" : "y:HELP LIBR", "x:SHARP"};
}

QStringList autoArea(const char* whiteBalance)
{
    const QString w = whiteBalance;
    return {"i:AGC-FRAME-HIGHLIGHT", "i:AGC-WIDTH", "i:AGC-HEIGHT", "i:AGC-OFFSETX", "i:AGC-OFFSETY",
            w + ":AWB-FRAME-HIGHLIGHT", w + ":AWB-WIDTH", w + ":AWB-HEIGHT", w + ":AWB-OFFSETX", w + ":AWB-OFFSETY",
            "i:AGC-UPPER", "i:AGC-LOWER", "i:AGC-SPEED", "i:AE-UPPER", "i:AE-LOWER", "i:AE-SPEED"};
}

QStringList gpio(const char* pinDirections = "i")
{
    QStringList steps = {"i:PULSE-CYCLE ", "i:PULSE-DUTY "};
    steps += each("i:GPO-SRC %1", {"4", "6", "9"});
    steps += each("i:GPO-INV %1", {"4", "6", "9"});
    steps += each("i:USER-OUTPUT %1", {"1", "2", "3"});
    for (const QString pin : {"4", "6", "9"})
        steps += {"i:STROBE-TIME  " + pin, "i:STROBE-DELAY  " + pin};
    for (const QString pin : {"7", "4"})
        steps += {QString(pinDirections) + ":GPIO-MODE  " + pin, "i:GPO-INV " + pin, "i:GPO-SRC " + pin, "i:STROBE-TIME  " + pin,
                  "i:STROBE-DELAY  " + pin};
    return steps + each("i:GPI  %1", {"7", "10", "11", "4"});
}

QStringList tovaneGeneral()
{
    return identity()
        + QStringList{"i:WIDTH", "i:HEIGHT", "i:OFFSETX", "i:OFFSETY", "i:REVERSEX", "i:REVERSEY", "i:BASE-CLOCK",
                      "i:CAMERALINK-TAP", "i:FRAMERATE", "i:FRAMERATE-ACTUAL", "i:FRAMERATE-AUTO", "i:TEMPERATURE",
                      "i:USERSET-DEFAULT", "i:HBIN", "i:VBIN", "i:TESTCHART", "t:POWER-STATUS", "i:PIXEL-DEPTH",
                      "i:BAUDRATE", "i:BAUDRATE-TMP", "i:BAUDRATE-SAVE"};
}

QStringList tovaneGain()
{
    QStringList steps = {"r:HELP GAIN-FINE", "r:HELP BLACKLEVEL", "i:AE-SPEED", "i:AGC-SPEED", "i:TRG-DLY",
                         "i:EXP-MODE", "i:AE", "i:AGC", "i:EXP", "i:GAIN", "i:GAIN-FINE", "i:BLACKLEVEL",
                         "i:AGC-LEVEL", "i:TRG-MODE", "i:TRG-POL", "i:TRG-INH", "i:TRIGGER-RANGE",
                         "i:TRIGGER-RANGE-LOWERLIMIT", "i:AGC-UPPER", "i:AGC-LOWER", "i:AE-UPPER", "i:AE-LOWER",
                         "c:TRG-SRC", "i:TRG-SRC", "i:SP-TRG-MODE ", "c:SP-TRG-SRC ", "i:SP-TRG-SRC ",
                         "i:SP-TRG-F-CNT ", "i:SP-TRG-POL ", "i:AGC-WIDTH", "i:AGC-HEIGHT", "i:AGC-OFFSETX",
                         "i:AGC-OFFSETY", "i:SP-FL "};
    return steps + each("i:SP-FL-VAL %1", kCells);
}

// The area sliders' ranges (a range line, or refused on a mono camera), then the values.
QStringList tovaneColour(const char* form, const char* rangeForm)
{
    return each(QString(rangeForm) + ":HELP %1", {"AWB-WIDTH", "AWB-HEIGHT", "AWB-OFFSETX", "AWB-OFFSETY"})
        + each(QString(form) + ":%1", {"AWB", "RGAIN-FINE", "GGAIN-FINE", "BGAIN-FINE", "AWB-FRAME-HIGHLIGHT",
                                       "AWB-WIDTH", "AWB-HEIGHT", "AWB-OFFSETX", "AWB-OFFSETY"});
}

const std::vector<PageLoad>& pageLoads()
{
    static const std::vector<PageLoad> loads = {
        {"BrevoGeneral", "PTM-R560CL", brevoGeneral("i")},
        {"BrevoGeneralWithoutBinning", "PTM-R140ML", brevoGeneral("f")},
        {"BrevoExposure", "PTM-R290CL", brevoExposure()},
        {"BrevoGainFourTaps", "PTM-R560CL",
         QStringList{"i:AGC-LEVEL", "i:AGC", "i:AWB", "i:BL-AB"} + brevoGainGroups(4, "i")},
        {"BrevoGainTwoTaps", "PTM-R290CL", QStringList{"i:AGC-LEVEL", "i:AGC", "i:AWB", "i:BL-AB"} + brevoGainGroups(2, "i")},
        {"BrevoGainMono", "PTM-R140ML", QStringList{"i:AGC-LEVEL", "i:AGC", "f:AWB", "f:BL-AB"} + brevoGainGroups(1, "f")},
        {"BrevoDsp", "PTM-R560CL", brevoDsp(true)},
        {"BrevoDspMono", "PTM-R140ML", brevoDsp(false)},
        {"BrevoAutoArea", "PTM-R290CL", autoArea("i")},
        {"BrevoAutoAreaMono", "PTM-R140ML", autoArea("f")},
        {"BrevoGpio", "PTM-R560CL", gpio()},
        {"BrevoGpioFixedPins", "PTM-R140MLF", gpio("f")},
        {"BrevoShading", "PTM-R290CL", {"i:SHADING-CORRECTION", "i:SHADING-PATTERN-LOAD", "r:HELP SHADING-PATTERN-SAVE"}},
        {"TovaneGeneral", "PTM-TW640M", tovaneGeneral()},
        {"TovaneGain", "PTM-TW640", tovaneGain()},
        {"TovaneGpio", "PTM-TW640M", gpio()},
        {"TovaneColour", "PTM-TW640", tovaneColour("i", "r")},
        {"TovaneColourMono", "PTM-TW640M", tovaneColour("f", "f")},
        {"TovaneFrameBuffer", "PTM-TW640", {"i:AVERAGE", "i:WIDED-ENABLE", "i:FRM-OP-TAP"}},
        {"TovaneLut", "PTM-TW640M",
         QStringList{"i:LUT-FORMAT", "i:BINARIZATION"} + each("n2:LINEAR-INTERPOLATION %1", kPoints)
             + each("i:WIDE-LUT %1", range(0, 16))},
        {"TovaneShading", "PTM-TW640", {"r:HELP SHADING-PATTERN-SAVE"}},
        {"TovaneMultiRoi", "PTM-TW640",
         QStringList{"i:MULTI-ROI-ENABLE", "i:MULTI-ROI-AREA-HIGHLIGHT"} + each("n5:MULTI-ROI %1", range(0, 7))},
        {"TovaneAreaGain", "PTM-TW640", QStringList{"i:AREA-GAIN-ENABLE"} + each("n6:AREA-GAIN %1", range(0, 15))},
        {"TovaneAreaExposure", "PTM-TW640M",
         QStringList{"i:AREA-EXPOSURE-ENABLE"} + each("n5:AREA-EXPOSURE %1", range(0, 15))
             + QStringList{"i:EXP", "i:AREA-EXPOSURE-TIME"}},
    };
    return loads;
}

} // namespace

class PageLoads : public SimFixture, public ::testing::WithParamInterface<PageLoad> {
protected:
    // Empty when the step is answered as its form expects, else what went wrong.
    std::string check(const QString& step)
    {
        const QString form = step.section(':', 0, 0);
        const QByteArray line = step.section(':', 1).toLatin1();
        if (form == "i" || form == "f") {
            int value = 0;
            const bool ok = TryQueryInt(connection, line, value);
            return ok == (form == "i") ? "" : (ok ? "answered, expected a refusal" : "no integer answer");
        }
        if (form == "t")
            return QueryText(connection, line).isEmpty() ? "no text" : "";
        if (form == "e")
            return answer(line).endsWith("\rOK\r") ? "" : "not accepted";
        if (form == "c") {
            QByteArrayList choices;
            QueryChoices(connection, line, choices);
            int n = 0;
            const bool wellFormed = std::all_of(choices.begin(), choices.end(), [&](const QByteArray& c) {
                return c.startsWith(' ') && c.endsWith(')') && scanInts(c, " %d(", {&n}) == 1;
            });
            return !choices.isEmpty() && wellFormed ? "" : "no choice lines";
        }
        if (form == "r") {
            int min = 0, max = 0, step = 0;
            QueryRange(connection, line, min, max, step);
            return max > min && step > 0 ? "" : "no range";
        }
        if (form.startsWith('n')) {
            // As the page reads it: one "%d" per value, and exactly that many.
            const int count = form.mid(1).toInt();
            int v[6] = {};
            bool ok = false;
            switch (count) {
            case 2:
                ok = QueryInts(connection, line, "%d %d", {v, v + 1});
                break;
            case 5:
                ok = QueryInts(connection, line, "%d %d %d %d %d", {v, v + 1, v + 2, v + 3, v + 4});
                break;
            case 6:
                ok = QueryInts(connection, line, "%d %d %d %d %d %d", {v, v + 1, v + 2, v + 3, v + 4, v + 5});
                break;
            }
            const QByteArrayList lines = splitLines(answer(line));
            const bool exact = lines.size() == 3 && lines.at(1).split(' ').size() == count;
            return ok && exact ? "" : "not that many values";
        }
        if (form == "x" || form == "y")
            return Transact(connection, line, 1.0) == (form == "x") ? "" : "unexpected Transact result";
        return "unknown form";
    }
};

TEST_P(PageLoads, EveryQueryIsAnsweredAsThePageReadsIt)
{
    const PageLoad& load = GetParam();
    useModel(load.model);
    for (const QString& step : load.steps) {
        const std::string problem = check(step);
        EXPECT_EQ(problem, "") << load.page << " on " << load.model << ": \"" << step.toStdString() << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(Sim, PageLoads, ::testing::ValuesIn(pageLoads()),
                         [](const ::testing::TestParamInfo<PageLoad>& info) { return std::string(info.param.page); });

TEST(CommandWords, EveryWordIsAcceptedBySomeModel)
{
    // "HELP <word>" succeeds only for a word the camera has.
    VirtualClock clock;
    std::vector<std::unique_ptr<Connection>> connections;
    for (const QString& model : simulatedModels()) {
        auto camera = std::make_shared<SimulatedCamera>(model);
        auto connection = std::make_unique<Connection>(clock);
        connection->attach(std::make_unique<SimulatedPort>(camera, clock));
        connection->port()->setLineSettings(camera->listeningRate());
        connections.push_back(std::move(connection));
    }
    for (const char* word : cmd::kAll) {
        const QByteArray help = "HELP " + QByteArray(word).trimmed();
        const bool accepted = std::any_of(connections.begin(), connections.end(),
                                          [&](const auto& connection) { return Transact(*connection, help, 1.0); });
        EXPECT_TRUE(accepted) << word;
    }
}
