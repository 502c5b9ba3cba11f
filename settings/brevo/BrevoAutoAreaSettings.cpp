#include "BrevoAutoAreaSettings.h"

#include "CommandWords.h"

namespace {

using Side = BrevoAutoAreaSettings::Side;

struct AreaWords {
    const char* name; // "AE/AGC" or "AWB"
    const char* highlight;
    std::array<const char*, BrevoAutoAreaSettings::kSideCount> sides;
};
struct LimitWords {
    const char* name; // "AGC" or "AE"
    const char* upper;
    const char* lower;
    const char* speed;
};

const AreaWords kGainArea = {
    "AE/AGC", cmd::AGC_FRAME_HIGHLIGHT, {cmd::AGC_OFFSETX, cmd::AGC_WIDTH, cmd::AGC_OFFSETY, cmd::AGC_HEIGHT}};
const AreaWords kWhiteBalanceArea = {
    "AWB", cmd::AWB_FRAME_HIGHLIGHT, {cmd::AWB_OFFSETX, cmd::AWB_WIDTH, cmd::AWB_OFFSETY, cmd::AWB_HEIGHT}};
const LimitWords kGainLimits = {"AGC", cmd::AGC_UPPER, cmd::AGC_LOWER, cmd::AGC_SPEED};
const LimitWords kExposureLimits = {"AE", cmd::AE_UPPER, cmd::AE_LOWER, cmd::AE_SPEED};

const char* const kSideCaptions[] = {"OffsetX", "Width", "OffsetY", "Height"};

// The camera's order for reading the sides of an area.
constexpr Side kReadOrder[] = {Side::Width, Side::Height, Side::OffsetX, Side::OffsetY};

QString captioned(const char* name, const char* what)
{
    return QString::fromLatin1(name) + ' ' + QString::fromLatin1(what);
}

} // namespace

// The AE/AGC area, then the AWB area (which a camera without white balance
// refuses: read so that the refusal costs one answer, not a time-out), then
// the limits and speeds of AGC and AE.
BrevoAutoAreaSettings::BrevoAutoAreaSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    const auto declareArea = [this](const AreaWords& words, Setting::Form form, Area& area) {
        area.highlight = &declare(words.highlight, captioned(words.name, "Highlight"), form);
        readAt(*area.highlight);
        for (Side side : kReadOrder) {
            area.sides[side] = &declare(words.sides[side], captioned(words.name, kSideCaptions[side]), form);
            readAt(*area.sides[side]);
        }
    };
    declareArea(kGainArea, Setting::Form::Number, gainArea);
    declareArea(kWhiteBalanceArea, Setting::Form::OptionalNumber, whiteBalanceArea);
    for (auto [words, limits] : {std::pair{&kGainLimits, &gainLimits}, std::pair{&kExposureLimits, &exposureLimits}}) {
        limits->upper = &number(words->upper, captioned(words->name, "Upper Limit"));
        limits->lower = &number(words->lower, captioned(words->name, "Lower Limit"));
        limits->speed = &number(words->speed, captioned(words->name, "Speed"));
    }
}
