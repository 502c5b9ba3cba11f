#include "TableParts.h"

// The Tovane family: PTM-TW640 (colour) and PTM-TW640M (mono, without colour
// gains and white balance). A 640 x 480 sensor; frame buffer, multi-ROI, area
// gain and area exposure; baud rates for the next start and for now.

namespace sim {

using namespace parts;
namespace h = hooks;

namespace {

constexpr char kTriggerSources[] = "0:11P|1:7P|2:10P|4:Software";
constexpr char kOutputSourceChoices[] = "0:Exposure|1:Strobe|2:LVAL|3:FVAL|4:SensorOut|5:TrigSig|6:Pulse|7:User1"
                                        "|8:User2|9:User3|10:None|11:Low|12:High";

// enable, width, height, left, top
const std::vector<Range> kRegionFields = {{0, 1}, {8, 640}, {2, 480}, {0, 632}, {0, 478}};

CommandTable makeTovaneCommands()
{
    std::vector<Range> gainRegionFields = kRegionFields;
    gainRegionFields.push_back({0, 240});

    return {
        // Identification and service
        {.word = "MODEL", .models = kTovane, .kind = Kind::Text, .flags = kStatus, .read = h::modelName},
        {.word = "VERSION", .models = kTovane, .kind = Kind::Text, .text = "1.07.3", .flags = kStatus},
        {.word = "VENDOR", .models = kTovane, .kind = Kind::Text, .text = kVendor, .flags = kStatus},
        {.word = "ID", .models = kTovane, .kind = Kind::Text, .flags = kStatus, .read = h::serialNumber},
        {.word = "MANUFACTURER", .models = kTovane, .kind = Kind::Text, .text = "Tovane VGA series, simulated",
         .flags = kStatus},
        {.word = "USER-ID", .models = kTovane, .kind = Kind::Text, .text = "", .flags = kNotSaved, .check = h::userIdFits},
        {.word = "TEMPERATURE", .models = kTovane, .flags = kStatus, .read = h::temperature},
        {.word = "POWER-STATUS", .models = kTovane, .kind = Kind::Text, .text = "PoCL 12.0V Normal", .flags = kStatus},
        {.word = "GET-LAST-ERROR", .models = kTovane, .kind = Kind::Text, .flags = kStatus, .read = h::lastError},
        {.word = "RESET", .models = kTovane, .kind = Kind::Action, .after = h::restart},

        // Serial speed: BAUDRATE and BAUDRATE-SAVE take effect at the next
        // start, BAUDRATE-TMP at once and until the next start.
        {.word = "BAUDRATE", .models = kTovane, .def = 9600, .choices = kNormalRates, .flags = kNotSaved},
        {.word = "BAUDRATE-SAVE", .models = kTovane, .choices = kAllRates, .flags = kNotSaved, .storage = "BAUDRATE"},
        {.word = "BAUDRATE-TMP", .models = kTovane, .choices = kAllRates, .flags = kNotSaved,
         .after = h::switchRateNow, .read = h::currentRate},

        // Image format and interface
        {.word = "WIDTH", .models = kTovane, .range = {16, 640, 8}, .def = 640, .check = h::imageFitsSensor},
        {.word = "HEIGHT", .models = kTovane, .range = {2, 480, 2}, .def = 480, .check = h::imageFitsSensor},
        {.word = "OFFSETX", .models = kTovane, .range = {0, 624, 8}, .check = h::imageFitsSensor},
        {.word = "OFFSETY", .models = kTovane, .range = {0, 478, 2}, .check = h::imageFitsSensor},
        {.word = "HBIN", .models = kTovane, .def = 1, .choices = kBinning, .after = h::rebin},
        {.word = "VBIN", .models = kTovane, .def = 1, .choices = kBinning, .after = h::rebin},
        {.word = "PIXEL-DEPTH", .models = kTovane, .def = 8, .choices = "8:8 bit|12:12 bit|16:16 bit"},
        {.word = "REVERSEX", .models = kTovane, .choices = kOffOn},
        {.word = "REVERSEY", .models = kTovane, .choices = kOffOn},
        {.word = "CAMERALINK-TAP", .models = kTovane, .def = 2,
         .choices = "1:1 tap|2:2 taps|3:3 taps|4:4 taps|8:8 taps|10:10 taps"},
        {.word = "BASE-CLOCK", .models = kTovane, .choices = "0:85MHz|1:65MHz|2:45MHz"},
        {.word = "FRM-OP-TAP", .models = kTovane, .choices = "0:No conversion|1:TAP1|2:TAP2|3:TAP3"},
        {.word = "TESTCHART", .models = kTovane, .choices = "0:OFF|1:Grayscale|2:ColorBar"},

        // Frame rate (millionths of a frame per second) and user sets
        {.word = "FRAMERATE", .models = kTovane, .range = {100000, 120000000}, .def = 60000000},
        {.word = "FRAMERATE-AUTO", .models = kTovane, .choices = kOffOn},
        {.word = "FRAMERATE-ACTUAL", .models = kTovane, .flags = kStatus, .read = h::actualFrameRate},
        {.word = "USERSET-LOAD", .models = kTovane, .kind = Kind::Action, .range = {0, 16}, .flags = kNeedsArgument,
         .delayMs = 200, .after = h::loadUserSet},
        {.word = "USERSET-SAVE", .models = kTovane, .kind = Kind::Action, .range = {1, 16}, .flags = kNeedsArgument,
         .delayMs = 300, .after = h::saveUserSet},
        {.word = "USERSET-DEFAULT", .models = kTovane, .range = {0, 16}, .flags = kNotSaved},

        // Exposure (microseconds) and trigger
        {.word = "EXP", .models = kTovane, .range = {1, 60000000}, .def = 10000},
        {.word = "EXP-MODE", .models = kTovane, .choices = "0:Edge|1:Width"},
        {.word = "AE", .models = kTovane, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AE-SPEED", .models = kTovane, .range = {1, 256}, .def = 128},
        {.word = "AE-UPPER", .models = kTovane, .range = {1, 60000000}, .def = 100000},
        {.word = "AE-LOWER", .models = kTovane, .range = {1, 60000000}, .def = 10},
        {.word = "TRG-MODE", .models = kTovane, .choices = kOffOn},
        {.word = "TRG-SRC", .models = kTovane, .choices = kTriggerSources},
        {.word = "TRG-POL", .models = kTovane, .choices = "0:Falling|1:Rising"},
        {.word = "TRG-DLY", .models = kTovane, .range = {0, 4000000}},
        {.word = "TRG-INH", .models = kTovane, .choices = kOffOn},
        {.word = "TRG-SOFT", .models = kTovane, .range = {0, 1}, .flags = kNotSaved},
        {.word = "TRIGGER-RANGE", .models = kTovane, .choices = kOffOn},
        {.word = "TRIGGER-RANGE-LOWERLIMIT", .models = kTovane, .range = {0, 60000000}},
        {.word = "SP-TRG-MODE", .models = kTovane, .choices = "0:OFF|1:Bulk|2:Sequential"},
        {.word = "SP-TRG-SRC", .models = kTovane, .choices = kTriggerSources},
        {.word = "SP-TRG-POL", .models = kTovane, .choices = "0:Falling|1:Rising"},
        {.word = "SP-TRG-F-CNT", .models = kTovane, .range = {2, 255}, .def = 2},

        // Gain: GAIN in whole decibels and GAIN-FINE in tenths are one value.
        {.word = "GAIN", .models = kTovane, .range = {-6, 24}, .flags = kNotSaved, .after = h::setTovaneGainFromDb,
         .read = h::tovaneGainDb},
        {.word = "GAIN-FINE", .models = kTovane, .range = {-60, 240}},
        {.word = "RGAIN-FINE", .models = kTovaneColour, .range = {256, 4095}, .def = 256},
        {.word = "GGAIN-FINE", .models = kTovaneColour, .range = {256, 4095}, .def = 256},
        {.word = "BGAIN-FINE", .models = kTovaneColour, .range = {256, 4095}, .def = 256},
        {.word = "BLACKLEVEL", .models = kTovane, .range = {0, 255}, .def = 16},
        {.word = "AGC", .models = kTovane, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AGC-LEVEL", .models = kTovane, .range = {0, 255}, .def = 128},
        {.word = "AGC-SPEED", .models = kTovane, .range = {1, 256}, .def = 128},
        {.word = "AGC-UPPER", .models = kTovane, .range = {-6, 24}, .def = 24},
        {.word = "AGC-LOWER", .models = kTovane, .range = {-6, 24}},

        // Measuring areas of the automatic controls
        {.word = "AGC-OFFSETX", .models = kTovane, .range = {0, 624}, .def = 160, .check = h::areaFitsSensor},
        {.word = "AGC-OFFSETY", .models = kTovane, .range = {0, 464}, .def = 120, .check = h::areaFitsSensor},
        {.word = "AGC-WIDTH", .models = kTovane, .range = {16, 640}, .def = 320, .check = h::areaFitsSensor},
        {.word = "AGC-HEIGHT", .models = kTovane, .range = {16, 480}, .def = 240, .check = h::areaFitsSensor},
        {.word = "AGC-FRAME-HIGHLIGHT", .models = kTovane, .choices = kOffOn},
        {.word = "AWB", .models = kTovaneColour, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AWB-OFFSETX", .models = kTovaneColour, .range = {0, 624}, .def = 160, .check = h::areaFitsSensor},
        {.word = "AWB-OFFSETY", .models = kTovaneColour, .range = {0, 464}, .def = 120, .check = h::areaFitsSensor},
        {.word = "AWB-WIDTH", .models = kTovaneColour, .range = {16, 640}, .def = 320, .check = h::areaFitsSensor},
        {.word = "AWB-HEIGHT", .models = kTovaneColour, .range = {16, 480}, .def = 240, .check = h::areaFitsSensor},
        {.word = "AWB-FRAME-HIGHLIGHT", .models = kTovaneColour, .choices = kOffOn},

        // Look-up tables and filter
        {.word = "LUT-FORMAT", .models = kTovane,
         .choices = "0:Normal|1:Reverse|2:Binarize|3:LinearInterpolation|4:UserSetting|5:WideLUT"},
        {.word = "LINEAR-INTERPOLATION", .models = kTovane, .kind = Kind::Tuple, .indexes = kCurvePoints,
         .fields = {{0, 4095}, {0, 4095}}, .defaults = kStraightCurve},
        {.word = "LINEAR-INTERPOLATION-BUILD", .models = kTovane, .kind = Kind::Action, .delayMs = 400},
        {.word = "WIDE-LUT", .models = kTovane, .range = {0, 65535}, .indexes = kWideLutPoints,
         .defaults = linearWideLut()},
        {.word = "BINARIZATION", .models = kTovane, .range = {0, 4095}, .def = 2048},
        {.word = "SP-FL", .models = kTovane, .choices = kOffOn},
        {.word = "SP-FL-VAL", .models = kTovane, .range = {-8192, 8191}, .indexes = kFilterCells,
         .defaults = kPassThroughFilter},

        // Frame buffer
        {.word = "AVERAGE", .models = kTovane, .def = 1,
         .choices = "1:1 frame|2:2 frames|4:4 frames|8:8 frames|16:16 frames", .check = h::averagingAllowed},
        {.word = "WIDED-ENABLE", .models = kTovane, .choices = kOffOn, .check = h::wideDynamicRangeAllowed},

        // Shading correction
        {.word = "SHADING-CORRECTION", .models = kTovane, .choices = kOffOn},
        {.word = "SHADING-DETECTION", .models = kTovane, .choices = "0:Stop|1:Peak|2:Average", .flags = kNotSaved,
         .check = h::shadingDetectionAllowed, .after = h::startShadingDetection, .read = h::shadingStatus},
        {.word = "SHADING-PATTERN-CHECK", .models = kTovane, .choices = kOffOn},
        {.word = "SHADING-PATTERN-LOAD", .models = kTovane, .range = {0, 7}, .check = h::shadingPatternAvailable},
        {.word = "SHADING-PATTERN-SAVE", .models = kTovane, .kind = Kind::Action, .range = {0, 7},
         .flags = kNeedsArgument, .delayMs = 1500, .check = h::shadingPatternAvailable,
         .after = h::saveShadingPattern},

        // Defect-pixel correction
        {.word = "DEFECT-CORRECTION", .models = kTovane, .def = 1, .choices = kOffOn},
        {.word = "DEFECT-DETECTION", .models = kTovane, .choices = "0:Stop|1:White|2:Black", .flags = kNotSaved,
         .check = h::defectDetectionAllowed, .after = h::startDefectDetection, .read = h::defectStatus},
        {.word = "DEFECT-DETECTION-RESULT", .models = kTovane, .flags = kStatus, .read = h::defectResult},
        {.word = "DEFECT-PATTERN-LOAD", .models = kTovane, .choices = "0:Factory|1:User|2:Check"},
        {.word = "DEFECT-PATTERN-SAVE", .models = kTovane, .kind = Kind::Action, .delayMs = 1000,
         .check = h::defectResultAvailable},
        {.word = "DEFECT-THRESHOLD", .models = kTovane, .range = {0, 1023}, .def = 100},

        // Regions: enable, width, height, left, top (and gain in tenths of a dB)
        {.word = "AREA-GAIN", .models = kTovane, .kind = Kind::Tuple, .indexes = kSixteenAreas,
         .fields = gainRegionFields, .defaults = {{0, 64, 48, 0, 0, 0}}, .check = h::regionFitsSensor},
        {.word = "AREA-GAIN-ENABLE", .models = kTovane, .choices = kOffOn, .check = h::someRegionEnabled},
        {.word = "AREA-EXPOSURE", .models = kTovane, .kind = Kind::Tuple, .indexes = kSixteenAreas,
         .fields = kRegionFields, .defaults = {{0, 64, 48, 0, 0}}, .check = h::regionFitsSensor},
        {.word = "AREA-EXPOSURE-ENABLE", .models = kTovane, .choices = kOffOn, .check = h::someRegionEnabled},
        {.word = "AREA-EXPOSURE-TIME", .models = kTovane, .range = {1, 60000000}, .def = 5000},
        {.word = "MULTI-ROI", .models = kTovane, .kind = Kind::Tuple, .indexes = kEightAreas, .fields = kRegionFields,
         .defaults = {{0, 160, 120, 0, 0}}, .check = h::regionFitsSensor},
        {.word = "MULTI-ROI-ENABLE", .models = kTovane, .choices = kOffOn, .check = h::someRegionEnabled},
        {.word = "MULTI-ROI-AREA-HIGHLIGHT", .models = kTovane, .choices = kOffOn},

        // Inputs and outputs
        {.word = "GPIO-MODE", .models = kTovane, .choices = "0:IN|1:OUT", .indexes = kBidirectionalPins,
         .defaults = kPinDirections},
        {.word = "GPI", .models = kTovane, .indexes = kInputPins, .flags = kStatus, .read = h::inputLevel},
        {.word = "GPO-SRC", .models = kTovane, .choices = kOutputSourceChoices, .indexes = kOutputPins,
         .defaults = kOutputSources},
        {.word = "GPO-INV", .models = kTovane, .choices = kOffOn, .indexes = kOutputPins},
        {.word = "USER-OUTPUT", .models = kTovane, .choices = kOffOn, .indexes = kUserOutputs},
        {.word = "STROBE-DELAY", .models = kTovane, .range = {0, 1000000}, .indexes = kOutputPins},
        {.word = "STROBE-TIME", .models = kTovane, .range = {0, 1000000}, .def = 100, .indexes = kOutputPins},
        {.word = "PULSE-CYCLE", .models = kTovane, .range = {1, 1000000}, .def = 1000, .check = h::pulseFits},
        {.word = "PULSE-DUTY", .models = kTovane, .range = {0, 1000000}, .def = 500, .check = h::pulseFits},
    };
}

} // namespace

const CommandTable& tovaneCommands()
{
    static const CommandTable table = makeTovaneCommands();
    return table;
}

} // namespace sim
