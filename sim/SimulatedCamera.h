#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A simulated camera of one model, as seen from its serial line. It answers
// command lines as the real cameras do: each byte it reads is echoed, a
// carriage return ends the line, and after its latency the camera sends the
// value lines and "OK", or "NG"/"ERROR" (GET-LAST-ERROR then tells why).
//
// Time is handed in by the caller (microseconds of the port's clock), so the
// same camera runs on virtual time in tests and on the real clock elsewhere.
// Every byte takes ten bit times on the wire in either direction. The camera
// listens at one rate; bytes sent at any other rate are not understood and
// are dropped, and what the camera sends reaches a host listening at another
// rate as noise that is never a carriage return.
class SimulatedCamera {
public:
    explicit SimulatedCamera(const QString& model);
    ~SimulatedCamera();
    SimulatedCamera(const SimulatedCamera&) = delete;
    SimulatedCamera& operator=(const SimulatedCamera&) = delete;

    QString model() const;

    // The rate the camera listens at, now and after a restart.
    qint32 listeningRate() const;
    void setListeningRate(qint32 baudRate);

    // Time from the end of a command line to its answer (default 1 ms); the
    // echo of each byte goes out as the byte is read.
    qint64 latencyUs() const;
    void setLatencyUs(qint64 us);

    // Ten bit times at this rate, in nanoseconds.
    static qint64 byteTimeNs(qint32 baudRate);

    // The host's side of the wire. receive() puts bytes on the line toward
    // the camera at the host's rate; takeOutput() returns what has reached
    // the host by nowUs (noise where the host listens at another rate than
    // the byte was sent at).
    void receive(const QByteArray& bytes, qint32 hostRate, qint64 nowUs);
    QByteArray takeOutput(qint64 nowUs, qint32 hostRate);
    // When the next thing happens on the line (a byte arriving at either
    // end, the camera reading its input, a rate change); empty when idle.
    std::optional<qint64> nextEventUs() const;
    // The earliest moment a byte not yet taken can reach the host: the next
    // byte on its way, or one byte time after the camera's next step (what
    // the camera sends goes out no sooner); empty when idle. A port waiting
    // for input sleeps to it instead of to every step of the camera.
    std::optional<qint64> nextArrivalAtHostUs() const;

    // Level an input pin (7, 10, 11, 4) reads while it is an input.
    void setInputLevel(int pin, int level);

    // Faults for reliability tests.
    void setDisconnected(bool disconnected); // the line is cut: nothing passes, ports report errors
    bool isDisconnected() const;
    void setSilent(bool silent);             // the camera hangs: it reads nothing and answers nothing
    void setExtraLatencyUs(qint64 us);       // every answer comes this much later
    void setGarbageAnswers(bool garbage);    // everything sent, echo included, is noise
    void sendNoise(int count, qint64 nowUs); // unsolicited noise, now
    void setOverlongAnswers(int length);     // every answer starts with a line of this many characters; 0 ends it
    void refuseCommand(const QString& word); // answered "NG" ("Refused") from now on
    void allowCommand(const QString& word);
    void refuseChangesOf(const QString& word); // a new value is refused; the query still answers
    void setDetectionsNeverFinish(bool never); // shading and defect detections run for ever

    // The shading pattern stored in a slot: the number of the detection that
    // made it (0 the factory pattern), nothing for an empty slot.
    std::optional<int> savedShadingPattern(int slot) const;

    // What crossed the line, for tests and benchmarks.
    enum class Direction { ToCamera, ToHost };
    struct WireByte {
        qint64 atUs;      // when the byte had fully arrived at the other end
        char byte;
        qint32 rate;      // the rate it was sent at
        Direction direction;
        bool understood;  // ToCamera: read at the camera's rate; ToHost: always true
    };
    struct ReceivedLine {
        qint64 atUs; // when the camera read its carriage return
        QByteArray text;
    };
    struct ExchangeRecord {
        std::vector<WireByte> bytes;
        std::vector<ReceivedLine> lines; // empty lines included
        int commands = 0;                // lines that were not empty
    };
    const ExchangeRecord& record() const;
    void clearRecord();
    // Bytes are recorded only while this is on (the default); lines and the
    // count always are. Very long records drop their oldest half.
    void setRecordingBytes(bool on);
    QByteArrayList receivedLines() const;
    // The processor time the camera's own work took on the threads that
    // drove it, counted while this is on (off by default). A benchmark takes
    // it out of the host's share: a real camera works on its own hardware.
    void setCountingCpuTime(bool on);
    qint64 cpuTimeNs() const;
    // Called with every line the camera reads, as it reads it.
    void setLineObserver(std::function<void(qint64 atUs, const QByteArray& line)> observer);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
