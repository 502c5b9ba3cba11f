#pragma once

// One camera setting, declared once: its command word and argument form, how
// the camera reports it, how a line for it is sent, what is read again after
// it was sent, and the value the camera last gave or accepted.
//
// A setting is data: it needs no widget to be read, sent, saved or compared.
// The controls of a page show it (they follow changed()) and send through it
// (SendPath.h); a file of settings is composed from the camera's values here,
// never from what a control shows.
//
//   Setting& gain = page.number(cmd::GAIN_FINE, "Step");           // QueryInt, at this place in the load
//   Setting& cell = page.number(cmd::SP_FL_VAL_00, "Coefficient 00");
//   Setting& source = page.number(cmd::GPO_SRC, "GPO-SOURCE (4)").indexed("4");
//   Setting& vendor = page.text(cmd::VENDOR, "Vendor").readOnly();
//   Setting& binning = page.optionalNumber(cmd::HBIN, "Binning H").appliedFirst();

#include "SendMode.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Setting : public QObject {
    Q_OBJECT
public:
    // How the camera reports the setting.
    enum class Form {
        Number,         // one integer (QueryInt); a failed read leaves it not read
        OptionalNumber, // one integer a camera may lack (TryQueryInt): a refusal makes it unavailable
        Numbers,        // several integers on one line (QueryInts with the setting's format)
        Text,           // a line of text (QueryText)
    };
    // What is known of the camera's value.
    enum class State {
        NotRead,     // never read, or the last read failed
        Known,       // value() is what the camera gave or accepted
        Unavailable, // the camera refused to report it: this camera lacks it
    };
    struct Range {
        int min = 0;
        int max = 0;
        int step = 0;
        bool operator==(const Range& other) const = default;
    };

    Setting(QByteArray word, QString caption, Form form, QObject* parent = nullptr);
    ~Setting() override;

    // ---- declaration (fluent)

    // The argument that comes before the value, as in "GPO-SRC 4 <n>".
    Setting& indexed(const QByteArray& index);
    // The scan format of a Numbers setting, one "%d" per integer ("%d %d").
    Setting& numbersLike(const char* format, int count);
    // How lines for it go out by default (controls may stream instead).
    Setting& sentWith(SendMode mode);
    // The line sent for an argument, where it is not "<word>[ <index>] <argument>".
    Setting& lineFrom(std::function<QByteArray(const QByteArray& argument)> compose);
    // A value the camera only reports (temperature, model text): never sent,
    // never saved.
    Setting& readOnly();
    // A setting that files of settings leave out (the serial speed: applying
    // it would cut the link), though the user may send it.
    Setting& notSaved();
    // Applying a file sends it before the page's other settings (binning
    // rescales the image, so the size must follow it).
    Setting& appliedFirst();
    // Settings the camera changes along with this one: read again after
    // every line sent for it, accepted or not.
    Setting& followedBy(QList<Setting*> settings);
    // A switch the camera takes only after checking other settings: after
    // refusing it, the camera needs half a second before GET-LAST-ERROR
    // tells why.
    Setting& reasonAfterChecks();
    // A file of settings writes this line for the camera's value instead of
    // the line a control sends; nothing leaves it out (a mode the page
    // handles itself, never the camera's).
    Setting& savedAs(std::function<std::optional<QByteArray>(const Setting& setting)> compose);

    // ---- identity

    const QByteArray& word() const { return m_word; }
    const QByteArray& index() const { return m_index; }
    // The word and index as one name, blanks simplified: "GAIN-FINE", "STROBE-TIME 4".
    QByteArray key() const;
    // The line that asks the camera for the value: the word as the command
    // table has it (a trailing blank included), then the index.
    QByteArray query() const;
    const QString& caption() const { return m_caption; }
    Form form() const { return m_form; }
    const char* numbersFormat() const { return m_numbersFormat; }
    int numbersCount() const { return m_numbersCount; }
    SendMode sendMode() const { return m_sendMode; }
    bool isReadOnly() const { return m_readOnly; }
    bool isSaved() const { return !m_readOnly && !m_notSaved; }
    bool isAppliedFirst() const { return m_appliedFirst; }
    const QList<Setting*>& followers() const { return m_followers; }
    int reasonDelayMs() const { return m_reasonDelayMs; }

    // ---- the camera's value

    State state() const { return m_state; }
    bool isKnown() const { return m_state == State::Known; }
    bool isUnavailable() const { return m_state == State::Unavailable; }
    // As the camera gave it: "12", "1 640 480 0 0", "Camera A"; empty unless known.
    const QByteArray& value() const { return m_value; }
    // The value as one integer; nothing unless known and a number.
    std::optional<int> number() const;
    // The integers of the value, in order; empty unless known.
    QList<int> numbers() const;

    void setValue(const QByteArray& value);
    void setNumber(int value) { setValue(QByteArray::number(value)); }
    void setNumbers(const QList<int>& values);
    void setNotRead();
    void setUnavailable();
    // Shows the value again as it is (after a send that went unanswered,
    // the controls go back to what the camera last gave).
    void reshow() { emit changed(); }

    // The range of its values from the camera's HELP answer; none until read
    // or when the camera gave none.
    const std::optional<Range>& range() const { return m_range; }
    void setRange(std::optional<Range> range);
    // The choice lines of the camera's HELP answer, each beginning with its blank.
    const QByteArrayList& choices() const { return m_choices; }
    void setChoices(const QByteArrayList& choices);

    // ---- lines

    // The line that sets it to argument: "<word> <argument>", or
    // "<word> <index> <argument>" (a word's own trailing blank is kept, as in
    // "SP-FL  1").
    QByteArray lineFor(const QByteArray& argument) const;
    QByteArray lineFor(int value) const { return lineFor(QByteArray::number(value)); }
    // The line a file of settings keeps for the camera's value, without
    // carriage returns; nothing when it is not known or not saved.
    std::optional<QByteArray> fileLine() const;

signals:
    // The value or what is known of it changed (also when shown again).
    void changed();
    void rangeChanged();
    void choicesChanged();
    // A line sent for it was refused, with the camera's reason; a later one
    // was accepted or went unanswered (emitted by the send path).
    void sendRefused(const QString& reason);
    void sendSettled();

private:
    QByteArray m_word;
    QByteArray m_index;
    QString m_caption;
    Form m_form;
    const char* m_numbersFormat = "%d";
    int m_numbersCount = 1;
    SendMode m_sendMode = SendMode::transact();
    std::function<QByteArray(const QByteArray&)> m_compose;
    std::function<std::optional<QByteArray>(const Setting&)> m_composeFileLine;
    bool m_readOnly = false;
    bool m_notSaved = false;
    bool m_appliedFirst = false;
    QList<Setting*> m_followers;
    int m_reasonDelayMs = 0;

    State m_state = State::NotRead;
    QByteArray m_value;
    std::optional<Range> m_range;
    QByteArrayList m_choices;
};
