#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <vector>

// How a simulated camera knows its commands: one row per command word and
// family, read by one interpreter. A row says what kind of value the word
// carries, its range or choice list, its default, which models have it, and,
// for the few words with behaviour of their own, which hook runs.

namespace sim {

class CameraCore;

// v kept within [lo, hi], all in 64 bits.
inline qint64 boundedTo(qint64 lo, qint64 v, qint64 hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// The simulated models, as bits of a row's model mask.
enum ModelBit : unsigned {
    kR560CL = 1u << 0, // Brevo colour, four sensor taps
    kR290CL = 1u << 1, // Brevo colour, two sensor taps
    kR140ML = 1u << 2, // Brevo mono, one sensor tap
    kTW640 = 1u << 3,  // Tovane colour
    kTW640M = 1u << 4, // Tovane mono
    kGeneric = 1u << 5, // a camera of no known family (PTM-6006 and unknown names)
    kR140MLF = 1u << 6, // the Brevo mono with fixed pin directions (no GPIO-MODE)
};

inline constexpr unsigned kBrevoMono = kR140ML | kR140MLF;
inline constexpr unsigned kBrevo = kR560CL | kR290CL | kBrevoMono;
// Pins 7 and 4 can be switched between input and output.
inline constexpr unsigned kBrevoPinDirections = kR560CL | kR290CL | kR140ML;
inline constexpr unsigned kBrevoColour = kR560CL | kR290CL;
inline constexpr unsigned kBrevoTwoTaps = kR560CL | kR290CL;
inline constexpr unsigned kBrevoFourTaps = kR560CL;
inline constexpr unsigned kTovane = kTW640 | kTW640M;
inline constexpr unsigned kTovaneColour = kTW640;

enum class Kind {
    Integer, // WORD [index] -> one value; WORD [index] v sets it
    Tuple,   // WORD [index] -> several values on one line; WORD [index] v1 v2 ... sets them
    Text,    // WORD -> a text line; WORD text sets it
    Action,  // WORD [argument] does something; nothing is stored
};

struct Range {
    int min = 0;
    int max = 0;
    int step = 1;

    bool holds(int value) const
    {
        return value >= min && value <= max && (step <= 1 || (qint64(value) - min) % step == 0);
    }
};

enum Flag : unsigned {
    kReadOnly = 1u << 0,    // a value sent with the word is refused
    kNotSaved = 1u << 1,    // not part of user sets and factory defaults
    kNeedsArgument = 1u << 2, // an action that takes one argument (range or choices)
};

// What a hook sees: the row, the index token (empty when the word has none),
// the values or the text sent, and the time of the command.
struct Request {
    const struct CommandDefinition& definition;
    QByteArray index;
    QList<int> values;
    QList<int> previous; // what was stored before a set
    QByteArray text;
    qint64 nowUs = 0;
};

// A reason to refuse the command (shown by GET-LAST-ERROR), or null to go on.
using CheckHook = const char* (*)(CameraCore& camera, const Request& request);
// Side effects of a command that was accepted (and stored).
using AfterHook = void (*)(CameraCore& camera, const Request& request);
// The value line of a query, for values the camera works out itself.
using ReadHook = QByteArray (*)(CameraCore& camera, const Request& request);

struct CommandDefinition {
    const char* word = "";          // without the trailing blank some constants carry
    unsigned models = 0;            // ModelBit mask of the models that have it
    Kind kind = Kind::Integer;
    Range range{};                  // Integer value, or an action's argument
    int def = 0;                    // Integer default
    const char* choices = nullptr;  // "0:OFF|1:Once|2:Continuous": the only values allowed, the HELP lines
    const char* indexes = nullptr;  // "4 6 9 7": the index tokens that follow the word
    std::vector<Range> fields{};    // Tuple: one range per value
    std::vector<std::vector<int>> defaults{}; // per index (one entry: for every index); Tuple or indexed Integer
    const char* text = nullptr;     // Text default
    unsigned flags = 0;
    const char* storage = nullptr;  // keeps its value under another word
    int delayMs = 0;                // the camera works this long before it answers
    CheckHook check = nullptr;
    AfterHook after = nullptr;
    ReadHook read = nullptr;

    bool hasChoices() const { return choices != nullptr; }
    QList<int> choiceValues() const;
    // " 0(OFF)" and so on, as HELP lists them.
    QByteArrayList choiceLines() const;
    QByteArrayList indexList() const;
    bool allows(int value) const { return hasChoices() ? choiceValues().contains(value) : range.holds(value); }
    QByteArray storageWord() const { return storage ? QByteArray(storage) : QByteArray(word); }
    int arity() const { return kind == Kind::Tuple ? int(fields.size()) : 1; }
    QList<int> defaultsFor(int indexPosition) const;
};

using CommandTable = std::vector<CommandDefinition>;

// The tables of the families, each in its own file.
const CommandTable& brevoCommands();
const CommandTable& tovaneCommands();
const CommandTable& basicCommands();

} // namespace sim
