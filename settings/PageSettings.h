#pragma once

// The settings of one page of a control panel, declared in the order the
// page reads them from the camera. The declaration is the load routine:
//
//   Setting& gain = declare(cmd::GAIN_FINE, "Step");    // named here, read further down
//   readRange(gain);                                    // "HELP GAIN-FINE" first
//   Setting& speed = number(cmd::AE_SPEED, "AE Speed");  // declared and read here
//   ...
//   read(gain);                                         // its value, in its place
//   step([this] { ...reads that depend on what was read... });
//
// load() performs the reads in exactly that order, one exchange each (or
// more, for a custom step), and never sends a set command. Settings that the
// page's fixed order does not read are read after it (readAfterLoad), so the
// fixed order itself stays as the camera expects it.
//
// Nothing here needs a widget: a page's controls follow its settings, and a
// program without windows reads, saves and compares the same settings.

#include "Setting.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class Connection;

// A command of the page that sets nothing the camera reports (a reset, a
// build, a detection's start, a user set's load): its line and how long
// the page waits for the camera's answer.
struct CameraCommand {
    QByteArray word;
    QString caption;
    SendMode mode = SendMode::transact();

    // "<word> <argument>".
    QByteArray line(int argument) const { return word + ' ' + QByteArray::number(argument); }
};

class PageSettings : public QObject {
    Q_OBJECT
public:
    PageSettings(Connection& connection, QString title, QObject* parent = nullptr);
    ~PageSettings() override;

    const QString& title() const { return m_title; }
    Connection& connection() const { return m_connection; }

    // Every setting of the page, in the order they were declared.
    const QList<Setting*>& settings() const { return m_settings; }
    // The setting of that key ("GPO-SRC 4"), null when the page has none.
    Setting* find(const QByteArray& key) const;
    // The page's commands, in the order they were declared.
    const std::vector<std::unique_ptr<CameraCommand>>& commands() const { return m_commands; }
    // The settings in the order the page's last load read them first, then
    // those it did not read, in declaration order.
    QList<Setting*> settingsInReadOrder() const;

    // The page's fixed reads, then those read after them (unless a panel
    // reading all its pages holds those back for the end: deferLateReads).
    void load();
    void deferLateReads() { m_deferLateReads = true; }
    // Ends holding them back, and reads them if a load held them back.
    void readDeferredLateReads();
    // The fixed reads alone, and the later ones alone (a panel reads every
    // page's fixed order first).
    void loadInFixedOrder();
    void loadAfterFixedOrder();
    // Runs before each read of a load; when it says no, the rest of the load
    // is left out (a panel reading its pages in the background lets the
    // window run between two exchanges, and ends the load when the panel is
    // closed). None by default.
    void setBetweenReads(std::function<bool()> goOn) { m_betweenReads = std::move(goOn); }
    // Whether the last load read all it had to (none was left out).
    bool lastLoadCompleted() const { return m_lastLoadCompleted; }
    // Whether the page reads at all when it is created (a page that waits
    // for the user's "Refresh" does not).
    bool loadsWhenCreated() const { return m_loadsWhenCreated; }

    // Reads one setting as its form says and keeps what the camera gave.
    void read(Setting& setting);
    // The ranges and choice lists of HELP.
    void readRange(Setting& setting);
    void readChoices(Setting& setting);

protected:
    // ---- declaration, in load order

    // A setting without a read at this place.
    Setting& declare(const QByteArray& word, const QString& caption, Setting::Form form = Setting::Form::Number);
    // A setting read here.
    Setting& number(const QByteArray& word, const QString& caption);
    Setting& optionalNumber(const QByteArray& word, const QString& caption);
    Setting& text(const QByteArray& word, const QString& caption);
    Setting& numbers(const QByteArray& word, const QString& caption, const char* format, int count);

    // Steps of the load in their place: the value of a declared setting
    // (again), its HELP range or choices, anything else.
    void readAt(Setting& setting);
    void readRangeAt(Setting& setting);
    void readChoicesAt(Setting& setting);
    void step(std::function<void()> custom);
    // A command of the page, sent by a button or a handler.
    const CameraCommand& command(const QByteArray& word, const QString& caption,
                                 SendMode mode = SendMode::transact());
    // Read after the fixed order: settings the page sends but its fixed
    // order does not read.
    void readAfterLoad(Setting& setting);
    void waitForRefresh() { m_loadsWhenCreated = false; }

private:
    bool mayGoOn();
    Setting& add(const QByteArray& word, const QString& caption, Setting::Form form);

    Connection& m_connection;
    QString m_title;
    QList<Setting*> m_settings;
    std::vector<std::function<void()>> m_steps;
    std::vector<Setting*> m_readAfterLoad;
    std::vector<std::unique_ptr<CameraCommand>> m_commands;
    // The settings read so far by the load running now, and by the last one.
    QList<Setting*> m_readInLoad;
    QList<Setting*> m_lastLoadOrder;
    bool m_loading = false;
    bool m_deferLateReads = false;
    bool m_lateReadsPending = false;
    bool m_loadsWhenCreated = true;
    bool m_lastLoadCompleted = true;
    std::function<bool()> m_betweenReads;
};
