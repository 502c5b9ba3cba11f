#pragma once

// "Save Settings…" and "Apply Settings…" of a control panel: the camera's
// settings as the panel shows them, written to a file (SettingsFile.h), and
// such a file sent back to a camera.
//
// Saving reads every page again first, so the file holds what the camera
// holds now (not a value typed and never sent, nor one changed from the
// terminal since), then writes the panel's settings (Catalogue::
// settingLines) under a header of model, version, date and family. The file
// is replaced only once it is complete. The reading shows the panel's
// progress view, whose Cancel writes no file; the message after saving names
// the settings left out because the camera did not report them.
//
// Applying reads and checks the whole file before anything is sent; a file
// saved from another model is sent only when the user agrees. The lines then
// go out in order, each with TransactOutcome and the time-out the panel's
// page waits for that command (1.0 s for any other line), behind a progress
// view whose Cancel is honoured between lines. The first line the camera
// refuses, or does not answer, ends the apply and is reported with the
// camera's reason (GET-LAST-ERROR). Afterwards every page reads the camera
// again, so the panel shows what the camera holds.
//
// User actions on the pages that come meanwhile wait until it is over. The
// file choosers, the question and the progress view are replaceable, so
// tests need no dialog; messages go through showMessage().

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class CompareDialog;
class Connection;
class ControlPanel;
class QWidget;
struct SettingsFileLine;

// What the user sees while a file is applied.
class ApplyProgressView {
public:
    virtual ~ApplyProgressView() = default;

    // The line about to be sent: index counts from 0 up to count - 1.
    virtual void showLine(int index, int count, const QByteArray& line) = 0;
    virtual bool cancelRequested() = 0;
};

using ApplyProgressViewFactory = std::function<std::unique_ptr<ApplyProgressView>(QWidget* parent, int lineCount)>;

// The progress dialog: the line being sent, a bar over all lines and Cancel.
// Application-modal, so no other window takes input while lines go out.
std::unique_ptr<ApplyProgressView> createApplyProgressDialog(QWidget* parent, int lineCount);

class SettingsTransfer {
public:
    // A file to write or to read; empty when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggestedName)>;
    // Asks the user a yes/no question; true for yes.
    using Question = std::function<bool(QWidget* parent, const QString& text)>;

    SettingsTransfer(ControlPanel& panel, Connection& connection);

    void setSaveFileChooser(FileChooser chooser) { m_chooseSaveFile = std::move(chooser); }
    void setApplyFileChooser(FileChooser chooser) { m_chooseApplyFile = std::move(chooser); }
    void setCompareFileChooser(FileChooser chooser) { m_chooseCompareFile = std::move(chooser); }
    void setQuestion(Question question) { m_ask = std::move(question); }
    void setProgressView(ApplyProgressViewFactory factory) { m_createProgressView = std::move(factory); }

    // "Save Settings…" and "Apply Settings…": ask for the file, then go on
    // as below.
    void save();
    void apply();
    void compare();

    // Writes the camera's settings to path, dated at; false (and a message)
    // when there was nothing to write or the file could not be written.
    bool saveTo(const QString& path, const QDateTime& at);

    enum class Outcome { Applied, BadFile, NotConfirmed, Cancelled, Refused, NoAnswer };
    Outcome applyFrom(const QString& path);

    // "Compare with File…": reads every page again and shows what differs
    // from the file in a dialog of the panel (CompareDialog.h); null, and a
    // message, when the file is no settings file.
    CompareDialog* compareWith(const QString& path);

    // Whether the camera is being read for a file or a file is being applied.
    bool isRunning() const { return m_running; }

private:
    // Sends the lines in order; the outcome and the message that tells it.
    Outcome sendLines(const QString& path, const QList<SettingsFileLine>& lines, QString& report);

    ControlPanel& m_panel;
    Connection& m_connection;
    FileChooser m_chooseSaveFile;
    FileChooser m_chooseApplyFile;
    FileChooser m_chooseCompareFile;
    Question m_ask;
    ApplyProgressViewFactory m_createProgressView = createApplyProgressDialog;
    bool m_running = false;
};
