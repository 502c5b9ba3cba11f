#pragma once

#include "Behaviours.h"
#include "CommandDefinition.h"

// Pieces the command tables share: choice lists, index lists and defaults.
namespace sim::parts {

inline constexpr unsigned kStatus = kReadOnly | kNotSaved;

inline constexpr char kVendor[] = "PK Camera Simulation";
inline constexpr char kOffOn[] = "0:OFF|1:ON";
inline constexpr char kAutoModes[] = "0:OFF|1:Once|2:Continuous";
inline constexpr char kBinning[] = "1:Off|2:2x";
inline constexpr char kNormalRates[] = "9600:9600 bps|14400:14400 bps|19200:19200 bps|38400:38400 bps"
                                       "|57600:57600 bps|115200:115200 bps";
inline constexpr char kAllRates[] = "9600:9600 bps|14400:14400 bps|19200:19200 bps|38400:38400 bps"
                                    "|57600:57600 bps|115200:115200 bps|230400:230400 bps|460800:460800 bps"
                                    "|921600:921600 bps";

inline constexpr char kFilterCells[] = "00 01 02 10 11 12 20 21 22";
inline constexpr char kOutputPins[] = "4 6 9 7";
inline constexpr char kInputPins[] = "7 10 11 4";
inline constexpr char kBidirectionalPins[] = "7 4";
inline constexpr char kUserOutputs[] = "1 2 3";
inline constexpr char kCurvePoints[] = "1 2 3 4 5";
inline constexpr char kWideLutPoints[] = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16";
inline constexpr char kSixteenAreas[] = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15";
inline constexpr char kEightAreas[] = "0 1 2 3 4 5 6 7";

// 3 x 3 kernels, cell 00 to 22; 256 stands for 1.0.
inline const std::vector<std::vector<int>> kPassThroughFilter = {{0}, {0}, {0}, {0}, {256}, {0}, {0}, {0}, {0}};
inline const std::vector<std::vector<int>> kIdentityMatrix = {{256}, {0}, {0}, {0}, {256}, {0}, {0}, {0}, {256}};
inline const std::vector<std::vector<int>> kStraightCurve = {{0, 0}, {1024, 1024}, {2048, 2048}, {3072, 3072}, {4095, 4095}};

// Output pins 4, 6, 9, 7 and their default sources.
inline const std::vector<std::vector<int>> kOutputSources = {{0}, {1}, {6}, {7}};
// Bidirectional pins 7 (input) and 4 (output).
inline const std::vector<std::vector<int>> kPinDirections = {{0}, {1}};

inline std::vector<std::vector<int>> linearWideLut()
{
    std::vector<std::vector<int>> points;
    for (int k = 0; k < 16; ++k)
        points.push_back({k * 4096});
    points.push_back({65535});
    return points;
}

} // namespace sim::parts
