#include "TableParts.h"

// A camera of no known family (PTM-6006, or any name the simulator does not
// know): it identifies itself and has a few basic settings.

namespace sim {

using namespace parts;
namespace h = hooks;

const CommandTable& basicCommands()
{
    static const CommandTable table = {
        {.word = "MODEL", .models = kGeneric, .kind = Kind::Text, .flags = kStatus, .read = h::modelName},
        {.word = "VERSION", .models = kGeneric, .kind = Kind::Text, .text = "0.9.1", .flags = kStatus},
        {.word = "VENDOR", .models = kGeneric, .kind = Kind::Text, .text = kVendor, .flags = kStatus},
        {.word = "ID", .models = kGeneric, .kind = Kind::Text, .flags = kStatus, .read = h::serialNumber},
        {.word = "TEMPERATURE", .models = kGeneric, .flags = kStatus, .read = h::temperature},
        {.word = "GET-LAST-ERROR", .models = kGeneric, .kind = Kind::Text, .flags = kStatus, .read = h::lastError},
        {.word = "RESET", .models = kGeneric, .kind = Kind::Action, .after = h::restart},
        {.word = "BAUDRATE", .models = kGeneric, .def = 9600, .choices = kNormalRates, .flags = kNotSaved,
         .after = h::switchRateNow, .read = h::currentRate},
        {.word = "WIDTH", .models = kGeneric, .range = {16, 1024, 8}, .def = 1024, .check = h::imageFitsSensor},
        {.word = "HEIGHT", .models = kGeneric, .range = {2, 768, 2}, .def = 768, .check = h::imageFitsSensor},
        {.word = "EXP", .models = kGeneric, .range = {10, 1000000}, .def = 10000},
        {.word = "GAIN", .models = kGeneric, .range = {0, 24}},
    };
    return table;
}

} // namespace sim
