#include "TableParts.h"

// The Brevo family: PTM-R560CL (colour, four sensor taps), PTM-R290CL (colour,
// two taps) and PTM-R140ML (mono, one tap, no binning, no colour, no spatial
// filter, no black-level balance, no average shading detection). PTM-R140MLF
// is the mono with fixed pin directions: it lacks GPIO-MODE, pin 7 is always
// an input and pin 4 always an output.

namespace sim {

using namespace parts;
namespace h = hooks;

namespace {

constexpr char kTriggerSources[] = "0:SoftTrigger|7:Pin#7|10:Pin#10|11:Pin#11|101:CC1|102:CC2|103:CC3|104:CC4";
constexpr char kOutputSourceChoices[] = "0:Exposure|1:Strobe|2:LVAL|3:FVAL|4:SensorOut|5:TrigSig|6:Pulse|7:User1"
                                        "|8:User2|9:User3";

CommandTable makeBrevoCommands()
{
    return {
        // Identification and service
        {.word = "MODEL", .models = kBrevo, .kind = Kind::Text, .flags = kStatus, .read = h::modelName},
        {.word = "VERSION", .models = kBrevo, .kind = Kind::Text, .text = "2.31.0", .flags = kStatus},
        {.word = "VENDOR", .models = kBrevo, .kind = Kind::Text, .text = kVendor, .flags = kStatus},
        {.word = "ID", .models = kBrevo, .kind = Kind::Text, .flags = kStatus, .read = h::serialNumber},
        {.word = "MANUFACTURER", .models = kBrevo, .kind = Kind::Text, .text = "Brevo CL series, simulated",
         .flags = kStatus},
        {.word = "USER-ID", .models = kBrevo, .kind = Kind::Text, .text = "", .flags = kNotSaved, .check = h::userIdFits},
        {.word = "USER-ID-DELETE", .models = kBrevo, .kind = Kind::Action, .after = h::clearUserId},
        {.word = "TEMPERATURE", .models = kBrevo, .flags = kStatus, .read = h::temperature},
        {.word = "SENSOR-TAP", .models = kR560CL, .def = 4, .choices = "1:1 tap|2:2 taps|4:4 taps", .flags = kNotSaved},
        {.word = "SENSOR-TAP", .models = kR290CL, .def = 2, .choices = "1:1 tap|2:2 taps", .flags = kNotSaved},
        {.word = "SENSOR-TAP", .models = kBrevoMono, .def = 1, .choices = "1:1 tap", .flags = kNotSaved},
        {.word = "GET-LAST-ERROR", .models = kBrevo, .kind = Kind::Text, .flags = kStatus, .read = h::lastError},
        {.word = "RESET", .models = kBrevo, .kind = Kind::Action, .after = h::restart},
        {.word = "FACTORY-DEFAULT", .models = kBrevo, .kind = Kind::Action, .delayMs = 2000, .after = h::factoryDefault},
        {.word = "BAUDRATE", .models = kBrevo, .def = 9600, .choices = kNormalRates, .flags = kNotSaved,
         .after = h::switchRateNow, .read = h::currentRate},

        // Image format
        {.word = "WIDTH", .models = kR560CL, .range = {16, 2464, 8}, .def = 2464, .check = h::imageFitsSensor},
        {.word = "WIDTH", .models = kR290CL, .range = {16, 1936, 8}, .def = 1936, .check = h::imageFitsSensor},
        {.word = "WIDTH", .models = kBrevoMono, .range = {16, 1392, 8}, .def = 1392, .check = h::imageFitsSensor},
        {.word = "HEIGHT", .models = kR560CL, .range = {2, 2056, 2}, .def = 2056, .check = h::imageFitsSensor},
        {.word = "HEIGHT", .models = kR290CL, .range = {2, 1464, 2}, .def = 1464, .check = h::imageFitsSensor},
        {.word = "HEIGHT", .models = kBrevoMono, .range = {2, 1040, 2}, .def = 1040, .check = h::imageFitsSensor},
        {.word = "OFFSETX", .models = kR560CL, .range = {0, 2448, 8}, .check = h::imageFitsSensor},
        {.word = "OFFSETX", .models = kR290CL, .range = {0, 1920, 8}, .check = h::imageFitsSensor},
        {.word = "OFFSETX", .models = kBrevoMono, .range = {0, 1376, 8}, .check = h::imageFitsSensor},
        {.word = "OFFSETY", .models = kR560CL, .range = {0, 2054, 2}, .check = h::imageFitsSensor},
        {.word = "OFFSETY", .models = kR290CL, .range = {0, 1462, 2}, .check = h::imageFitsSensor},
        {.word = "OFFSETY", .models = kBrevoMono, .range = {0, 1038, 2}, .check = h::imageFitsSensor},
        {.word = "HBIN", .models = kBrevoColour, .def = 1, .choices = kBinning, .after = h::rebin},
        {.word = "VBIN", .models = kBrevoColour, .def = 1, .choices = kBinning, .after = h::rebin},
        {.word = "PIXEL-DEPTH", .models = kBrevoColour, .def = 8, .choices = "8:8 bit|10:10 bit|12:12 bit|24:24 bit RGB"},
        {.word = "PIXEL-DEPTH", .models = kBrevoMono, .def = 8, .choices = "8:8 bit|10:10 bit|12:12 bit"},
        {.word = "CAMERALINK-TAP", .models = kBrevo, .def = 2, .choices = "1:1 tap|2:2 taps"},
        {.word = "TESTCHART", .models = kBrevoColour, .choices = "0:OFF|1:Gray|2:Color"},
        {.word = "TESTCHART", .models = kBrevoMono, .choices = "0:OFF|1:Gray"},
        {.word = "LED-MODE", .models = kBrevo, .def = 1, .choices = "0:OFF|1:ON|2:GPO1|3:GPO2|4:GPO3"},
        {.word = "VSUB-EXTERNAL", .models = kBrevo, .range = {0, 127}, .def = 64},
        {.word = "VSUB-EXTERNAL-MODE", .models = kBrevo, .choices = kOffOn},

        // Frame rate (millionths of a frame per second) and user sets
        {.word = "FRAMERATE", .models = kR560CL, .range = {100000, 15000000}, .def = 15000000},
        {.word = "FRAMERATE", .models = kR290CL, .range = {100000, 30000000}, .def = 30000000},
        {.word = "FRAMERATE", .models = kBrevoMono, .range = {100000, 45000000}, .def = 30000000},
        {.word = "FRAMERATE-AUTO", .models = kBrevo, .choices = kOffOn},
        {.word = "FRAMERATE-ACTUAL", .models = kBrevo, .flags = kStatus, .read = h::actualFrameRate},
        {.word = "USERSET-LOAD", .models = kBrevo, .kind = Kind::Action, .range = {0, 16}, .flags = kNeedsArgument,
         .delayMs = 200, .after = h::loadUserSet},
        {.word = "USERSET-SAVE", .models = kBrevo, .kind = Kind::Action, .range = {1, 16}, .flags = kNeedsArgument,
         .delayMs = 300, .after = h::saveUserSet},
        {.word = "USERSET-DEFAULT", .models = kBrevo, .range = {0, 16}, .flags = kNotSaved},

        // Exposure (microseconds) and trigger
        {.word = "EXP", .models = kBrevo, .range = {10, 10000000}, .def = 10000},
        {.word = "EXP-MODE", .models = kBrevo, .choices = "0:Edge|1:PulseWidth"},
        {.word = "AE", .models = kBrevo, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AE-SPEED", .models = kBrevo, .range = {1, 256}, .def = 128},
        {.word = "AE-UPPER", .models = kBrevo, .range = {10, 10000000}, .def = 100000},
        {.word = "AE-LOWER", .models = kBrevo, .range = {10, 10000000}, .def = 100},
        {.word = "TRG-MODE", .models = kBrevo, .choices = kOffOn},
        {.word = "TRG-SRC", .models = kBrevo, .choices = kTriggerSources},
        {.word = "TRG-POL", .models = kBrevo, .choices = "0:Falling|1:Rising"},
        {.word = "TRG-DLY", .models = kBrevo, .range = {0, 4000000}},
        {.word = "TRG-INH", .models = kBrevo, .choices = kOffOn},
        {.word = "TRG-SHIFT", .models = kBrevo, .choices = kOffOn},
        {.word = "TRG-CTRL", .models = kBrevo, .choices = kOffOn},
        {.word = "TRG-SOFT", .models = kBrevo, .range = {0, 1}, .flags = kNotSaved},
        {.word = "TRIGGER-RANGE", .models = kBrevo, .choices = kOffOn},
        {.word = "TRIGGER-RANGE-LOWERLIMIT", .models = kBrevo, .range = {0, 10000000}},
        {.word = "TRIGGER-RANGE-UPPERLIMIT", .models = kBrevo, .range = {0, 10000000}, .def = 1000000},
        {.word = "SP-TRG-MODE", .models = kBrevo, .choices = "0:OFF|1:Bulk mode|2:Sequential mode"},
        {.word = "SP-TRG-SRC", .models = kBrevo, .choices = kTriggerSources},
        {.word = "SP-TRG-POL", .models = kBrevo, .choices = "0:Falling|1:Rising"},
        {.word = "SP-TRG-F-CNT", .models = kBrevo, .range = {2, 16}, .def = 2},

        // Gain (fine steps of 0.0359 dB) and black level
        {.word = "GAIN", .models = kBrevo, .range = {0, 18}, .flags = kNotSaved, .after = h::setBrevoGainFromDb,
         .read = h::brevoGainDb},
        {.word = "GAIN-FINE", .models = kBrevo, .range = {0, 502}, .after = h::copyToTaps},
        {.word = "GAIN-FINE-TAP1", .models = kBrevo, .range = {0, 502}},
        {.word = "GAIN-FINE-TAP2", .models = kBrevoTwoTaps, .range = {0, 502}},
        {.word = "GAIN-FINE-TAP3", .models = kBrevoFourTaps, .range = {0, 502}},
        {.word = "GAIN-FINE-TAP4", .models = kBrevoFourTaps, .range = {0, 502}},
        {.word = "RGAIN-FINE", .models = kBrevoColour, .range = {256, 4095}, .def = 256, .after = h::copyToTaps},
        {.word = "GGAIN-FINE", .models = kBrevoColour, .range = {256, 4095}, .def = 256, .after = h::copyToTaps},
        {.word = "BGAIN-FINE", .models = kBrevoColour, .range = {256, 4095}, .def = 256, .after = h::copyToTaps},
        {.word = "RGAIN-FINE-TAP1", .models = kBrevoColour, .range = {256, 4095}, .def = 256},
        {.word = "RGAIN-FINE-TAP2", .models = kBrevoColour & kBrevoTwoTaps, .range = {256, 4095}, .def = 256},
        {.word = "RGAIN-FINE-TAP3", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "RGAIN-FINE-TAP4", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "GGAIN-FINE-TAP1", .models = kBrevoColour, .range = {256, 4095}, .def = 256},
        {.word = "GGAIN-FINE-TAP2", .models = kBrevoColour & kBrevoTwoTaps, .range = {256, 4095}, .def = 256},
        {.word = "GGAIN-FINE-TAP3", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "GGAIN-FINE-TAP4", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "BGAIN-FINE-TAP1", .models = kBrevoColour, .range = {256, 4095}, .def = 256},
        {.word = "BGAIN-FINE-TAP2", .models = kBrevoColour & kBrevoTwoTaps, .range = {256, 4095}, .def = 256},
        {.word = "BGAIN-FINE-TAP3", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "BGAIN-FINE-TAP4", .models = kBrevoColour & kBrevoFourTaps, .range = {256, 4095}, .def = 256},
        {.word = "BLACKLEVEL", .models = kBrevo, .range = {0, 1023}, .def = 64},
        {.word = "BL-AB", .models = kBrevoTwoTaps, .choices = kAutoModes, .after = h::startAuto},
        {.word = "BL-ADJ-1", .models = kBrevo, .range = {-128, 127}},
        {.word = "BL-ADJ-2", .models = kBrevoTwoTaps, .range = {-128, 127}},
        {.word = "BL-ADJ-3", .models = kBrevoFourTaps, .range = {-128, 127}},
        {.word = "BL-ADJ-4", .models = kBrevoFourTaps, .range = {-128, 127}},
        {.word = "AGC", .models = kBrevo, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AGC-LEVEL", .models = kBrevo, .range = {0, 16383}, .def = 8192},
        {.word = "AGC-SPEED", .models = kBrevo, .range = {1, 256}, .def = 128},
        {.word = "AGC-UPPER", .models = kBrevo, .range = {0, 502}, .def = 502},
        {.word = "AGC-LOWER", .models = kBrevo, .range = {0, 502}},

        // Measuring areas of the automatic controls
        {.word = "AGC-OFFSETX", .models = kBrevo, .range = {0, 2448}, .def = 256, .check = h::areaFitsSensor},
        {.word = "AGC-OFFSETY", .models = kBrevo, .range = {0, 2040}, .def = 256, .check = h::areaFitsSensor},
        {.word = "AGC-WIDTH", .models = kBrevo, .range = {16, 2464}, .def = 512, .check = h::areaFitsSensor},
        {.word = "AGC-HEIGHT", .models = kBrevo, .range = {16, 2056}, .def = 512, .check = h::areaFitsSensor},
        {.word = "AGC-FRAME-HIGHLIGHT", .models = kBrevo, .choices = kOffOn},
        {.word = "AWB", .models = kBrevoColour, .choices = kAutoModes, .after = h::startAuto},
        {.word = "AWB-OFFSETX", .models = kBrevoColour, .range = {0, 2448}, .def = 256, .check = h::areaFitsSensor},
        {.word = "AWB-OFFSETY", .models = kBrevoColour, .range = {0, 2040}, .def = 256, .check = h::areaFitsSensor},
        {.word = "AWB-WIDTH", .models = kBrevoColour, .range = {16, 2464}, .def = 512, .check = h::areaFitsSensor},
        {.word = "AWB-HEIGHT", .models = kBrevoColour, .range = {16, 2056}, .def = 512, .check = h::areaFitsSensor},
        {.word = "AWB-FRAME-HIGHLIGHT", .models = kBrevoColour, .choices = kOffOn},

        // Signal processing
        {.word = "LUT-FORMAT", .models = kBrevo,
         .choices = "0:Normal|1:Reverse|2:Binarize|3:LinearInterpolation|4:UserSetting"},
        {.word = "LIBR", .models = kBrevoColour, .kind = Kind::Action, .delayMs = 400},
        {.word = "LIBG", .models = kBrevoColour, .kind = Kind::Action, .delayMs = 400},
        {.word = "LIBB", .models = kBrevoColour, .kind = Kind::Action, .delayMs = 400},
        {.word = "LINEAR-INTERPOLATION", .models = kBrevo, .kind = Kind::Tuple, .indexes = kCurvePoints,
         .fields = {{0, 4095}, {0, 4095}}, .defaults = kStraightCurve},
        {.word = "LINEAR-INTERPOLATION-BUILD", .models = kBrevo, .kind = Kind::Action, .delayMs = 400},
        {.word = "BINARIZATION", .models = kBrevo, .range = {0, 4095}, .def = 2048},
        {.word = "SHARP", .models = kBrevo, .range = {0, 255}},
        {.word = "SP-FL", .models = kBrevoColour, .choices = kOffOn},
        {.word = "SP-FL-VAL", .models = kBrevoColour, .range = {-8192, 8191}, .indexes = kFilterCells,
         .defaults = kPassThroughFilter},
        {.word = "CR-TF", .models = kBrevoColour, .choices = kOffOn, .check = h::colourMatrixAllowed},
        {.word = "CR-TF-VAL", .models = kBrevoColour, .range = {-8192, 8191}, .indexes = kFilterCells,
         .defaults = kIdentityMatrix},

        // Shading and defect correction
        {.word = "SHADING-CORRECTION", .models = kBrevo, .choices = kOffOn},
        {.word = "SHADING-DETECTION", .models = kBrevoColour, .choices = "0:Stop|1:Peak|2:Average",
         .flags = kNotSaved, .check = h::shadingDetectionAllowed, .after = h::startShadingDetection,
         .read = h::shadingStatus},
        {.word = "SHADING-DETECTION", .models = kBrevoMono, .choices = "0:Stop|1:Peak", .flags = kNotSaved,
         .check = h::shadingDetectionAllowed, .after = h::startShadingDetection, .read = h::shadingStatus},
        {.word = "SHADING-PATTERN-LOAD", .models = kBrevo, .range = {0, 4}, .check = h::shadingPatternAvailable},
        {.word = "SHADING-PATTERN-SAVE", .models = kBrevo, .kind = Kind::Action, .range = {0, 3},
         .flags = kNeedsArgument, .delayMs = 1500, .check = h::shadingPatternAvailable,
         .after = h::saveShadingPattern},
        {.word = "DEFECT-CORRECTION", .models = kBrevo, .def = 1, .choices = kOffOn},
        {.word = "DEFECT-PATTERN-SELECTOR", .models = kBrevo, .choices = "0:Factory|1:User"},

        // Inputs and outputs
        {.word = "GPIO-MODE", .models = kBrevoPinDirections, .choices = "0:IN|1:OUT", .indexes = kBidirectionalPins,
         .defaults = kPinDirections},
        {.word = "GPI", .models = kBrevo, .indexes = kInputPins, .flags = kStatus, .read = h::inputLevel},
        {.word = "GPO-SRC", .models = kBrevo, .choices = kOutputSourceChoices, .indexes = kOutputPins,
         .defaults = kOutputSources},
        {.word = "GPO-INV", .models = kBrevo, .choices = kOffOn, .indexes = kOutputPins},
        {.word = "USER-OUTPUT", .models = kBrevo, .choices = kOffOn, .indexes = kUserOutputs},
        {.word = "STROBE-DELAY", .models = kBrevo, .range = {0, 1000000}, .indexes = kOutputPins},
        {.word = "STROBE-TIME", .models = kBrevo, .range = {0, 1000000}, .def = 100, .indexes = kOutputPins},
        {.word = "PULSE-CYCLE", .models = kBrevo, .range = {1, 1000000}, .def = 1000, .check = h::pulseFits},
        {.word = "PULSE-DUTY", .models = kBrevo, .range = {0, 1000000}, .def = 500, .check = h::pulseFits},
    };
}

} // namespace

const CommandTable& brevoCommands()
{
    static const CommandTable table = makeBrevoCommands();
    return table;
}

} // namespace sim
