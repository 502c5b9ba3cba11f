#pragma once

#include "CommandDefinition.h"
#include "Models.h"

#include <QHash>
#include <QSet>

#include <array>
#include <optional>
#include <vector>

namespace sim {

// Every value a camera keeps, by storage key (the word, a blank and the index
// for indexed words).
struct Settings {
    QHash<QByteArray, QList<int>> numbers;
    QHash<QByteArray, QByteArray> texts;
};

// The inside of a simulated camera: it takes one command line at a time and
// gives the answer that follows the echo. Wire timing, echo and rates are the
// business of SimulatedCamera around it.
class CameraCore {
public:
    explicit CameraCore(const QString& model);

    struct Reply {
        QByteArray body;      // value lines and the terminal line, each ended by "\r"; empty for an empty line
        qint64 delayUs = 0;   // how long the camera works before it answers
        std::optional<qint32> rateAfterAnswer; // the camera listens at this rate once the answer is out
        bool restart = false; // the camera restarts once the answer is out
    };
    Reply execute(const QByteArray& line, qint64 nowUs);
    // The answer to a line the camera could not take in whole.
    Reply refuseLine(const char* reason) { return refuse(reason); }

    const ModelInfo& model() const { return m_model; }
    Family family() const { return m_model.family; }

    // The row of a word for this model; null when the model lacks it.
    const CommandDefinition* definition(const QByteArray& word) const;
    bool supports(const QByteArray& word) const { return definition(word) != nullptr; }

    // Stored values; 0 (or empty) for words the model lacks.
    int value(const QByteArray& word, const QByteArray& index = {}) const;
    QList<int> values(const QByteArray& word, const QByteArray& index = {}) const;
    void setValue(const QByteArray& word, int value, const QByteArray& index = {});
    void setValues(const QByteArray& word, const QList<int>& values, const QByteArray& index = {});
    QByteArray text(const QByteArray& word) const;
    void setText(const QByteArray& word, const QByteArray& text);

    // The full sensor, from the WIDTH and HEIGHT rows.
    int sensorWidth() const;
    int sensorHeight() const;

    // Serial rate: the rate listened at now, and the one the camera starts with.
    qint32 listeningRate() const { return m_listeningRate; }
    void setListeningRate(qint32 rate) { m_listeningRate = rate; }
    qint32 startRate() const;
    void setStartRate(qint32 rate);

    // Requests of hooks to the wire side, collected into the reply.
    void switchRateAfterAnswer(qint32 rate) { m_pending.rateAfterAnswer = rate; }
    void restartAfterAnswer() { m_pending.restart = true; }

    // The state after power-on or RESET: the user set chosen by
    // USERSET-DEFAULT, nothing running.
    void powerOn();
    void restoreFactoryDefaults();
    void saveUserSet(int set);
    void loadUserSet(int set, qint64 nowUs);

    // Automatic controls in "Once" (1) or "Continuous" (2) mode move values
    // toward a target; Once falls back to 0 when it is done.
    struct Ramp {
        QByteArray word;
        int from = 0;
        int to = 0;
    };
    void startAuto(const QByteArray& modeWord, int mode, const QList<Ramp>& ramps, qint64 nowUs);
    void stopAuto(const QByteArray& modeWord);

    // Long operations (shading and defect detection): the mode while running.
    struct Operation {
        int mode = 0;
        qint64 endUs = 0;
        bool finished = false; // one has run to its end since power-on
        int result = -1;       // what it found (defect count), -1 before the first end
        int pendingResult = -1;
    };
    Operation shading;
    Operation defects;
    // Fault injection: detections that never come to their end.
    bool detectionsNeverFinish = false;

    // Shading patterns stored in numbered slots, kept like the camera's flash
    // memory over restarts and factory defaults. A pattern is the number of
    // the detection that made it; slot 0 holds the factory pattern (0) from
    // the start, the other slots nothing until a pattern is saved there.
    int lastDetectedPattern() const { return m_detectedPatterns; }
    std::optional<int> savedPattern(int slot) const;
    void savePattern(int slot) { m_savedPatterns.insert(slot, m_detectedPatterns); }

    qint64 startedUs() const { return m_startedUs; }

    // Input pin levels (pin 7, 10, 11, 4) as the outside world drives them.
    QHash<int, int> inputLevels{{7, 0}, {10, 1}, {11, 0}, {4, 0}};

    // Words refused on demand (fault injection).
    QSet<QByteArray> refusedWords;
    // Words whose values are refused while their queries are answered.
    QSet<QByteArray> refusedChanges;

    QByteArray takeLastError();

    static constexpr qint64 kAutoRampUs = 3000000;

private:
    Reply refuse(const char* reason, const char* terminal = "NG");
    Reply refuseMissing(const QByteArray& word);
    Reply help(const QByteArrayList& tokens);
    Reply run(const CommandDefinition& definition, const QByteArray& line, QByteArrayList args, qint64 nowUs);
    Reply accepted(const QByteArray& valueLine = {}, bool withValue = false);
    QByteArray storageKey(const QByteArray& word, const QByteArray& index) const;
    void advanceTo(qint64 nowUs);
    void fillDefaults();
    Settings savedSettings() const;
    void applySettings(const Settings& settings);
    void resumeAutos(qint64 nowUs);

    ModelInfo m_model;
    std::vector<const CommandDefinition*> m_definitions; // the rows this model has, in table order
    QHash<QByteArray, const CommandDefinition*> m_byWord;
    Settings m_settings;
    Settings m_factory;
    std::array<Settings, 17> m_userSets;
    QByteArray m_lastError = "No error";
    qint32 m_listeningRate = 9600;
    qint32 m_startRate = 9600;
    qint64 m_startedUs = -1;
    qint64 m_nowUs = 0;
    Reply m_pending;

    struct AutoRun {
        QByteArray modeWord;
        int mode = 0;
        qint64 startUs = 0;
        QList<Ramp> ramps;
    };
    std::vector<AutoRun> m_autos;

    int m_detectedPatterns = 0; // shading detections finished since the camera was made
    QHash<int, int> m_savedPatterns{{0, 0}};
};

} // namespace sim
