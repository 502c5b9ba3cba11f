#include "SettingsTransfer.h"

#include "Catalogue.h"
#include "CompareDialog.h"
#include "Connection.h"
#include "ControlPanel.h"
#include "Link.h"
#include "Messages.h"
#include "SettingsFile.h"
#include "SettingsSnapshot.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QSet>

namespace {

const QString kFileFilter = QStringLiteral("Camera settings (*.txt);;All files (*)");
const QString kNotSavedTitle = QStringLiteral("Settings Not Saved");

QString chooseFileToSave(QWidget* parent, const QString& suggestedName)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save Settings"),
                                        QDir::home().filePath(suggestedName), kFileFilter);
}

QString chooseFileToApply(QWidget* parent, const QString&)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Apply Settings"), QDir::homePath(), kFileFilter);
}

QString chooseFileToCompare(QWidget* parent, const QString&)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Compare with File"), QDir::homePath(), kFileFilter);
}

bool askYesOrNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QStringLiteral("Apply Settings"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

class ApplyProgressDialog : public ApplyProgressView {
public:
    ApplyProgressDialog(QWidget* parent, int lineCount)
        : m_dialog(QStringLiteral("Applying settings"), QStringLiteral("Cancel"), 0, lineCount, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("Apply Settings"));
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }

    void showLine(int index, int count, const QByteArray& line) override
    {
        m_dialog.setLabelText(QStringLiteral("Line %1 of %2: %3").arg(index + 1).arg(count).arg(QString::fromLatin1(line)));
        // A modal dialog lets the window events through here, Cancel included.
        m_dialog.setValue(index);
    }

    bool cancelRequested() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

// The settings a file would keep had the camera reported them: not read (a
// refused query, a lost line, a time-out) on every page that has them.
QList<const Setting*> settingsNotRead(const Catalogue& catalogue)
{
    QSet<QByteArray> kept;
    for (const SettingLine& line : catalogue.settingLines())
        kept.insert(line.key);
    QList<const Setting*> notRead;
    for (int i = 0; i < catalogue.pageCount(); ++i) {
        for (const Setting* setting : catalogue.page(i).settings()) {
            if (setting->isSaved() && setting->state() == Setting::State::NotRead && !kept.contains(setting->key())) {
                kept.insert(setting->key());
                notRead.append(setting);
            }
        }
    }
    return notRead;
}

// Names the settings a saved file lacks because the camera did not report
// them; empty when it lacks none.
QString leftOutReport(const QList<const Setting*>& notRead)
{
    constexpr int kMostNamed = 20;
    if (notRead.isEmpty())
        return {};
    QStringList names;
    for (const Setting* setting : notRead.mid(0, kMostNamed)) {
        const QString key = QString::fromLatin1(setting->key());
        names << (setting->caption().isEmpty() || setting->caption() == key
                      ? key
                      : QStringLiteral("%1 (%2)").arg(setting->caption(), key));
    }
    if (notRead.size() > kMostNamed)
        names << QStringLiteral("and %1 more").arg(notRead.size() - kMostNamed);
    return QStringLiteral("\n\nLeft out, as the camera did not report them (%1): %2.")
        .arg(notRead.size())
        .arg(names.join(QStringLiteral(", ")));
}

} // namespace

std::unique_ptr<ApplyProgressView> createApplyProgressDialog(QWidget* parent, int lineCount)
{
    return std::make_unique<ApplyProgressDialog>(parent, lineCount);
}

SettingsTransfer::SettingsTransfer(ControlPanel& panel, Connection& connection)
    : m_panel(panel), m_connection(connection), m_chooseSaveFile(chooseFileToSave),
      m_chooseApplyFile(chooseFileToApply), m_chooseCompareFile(chooseFileToCompare), m_ask(askYesOrNo)
{
}

void SettingsTransfer::save()
{
    const QString path = m_chooseSaveFile(&m_panel, m_panel.model() + QStringLiteral("-settings.txt"));
    if (!path.isEmpty())
        saveTo(path, QDateTime::currentDateTime());
}

void SettingsTransfer::apply()
{
    const QString path = m_chooseApplyFile(&m_panel, QString());
    if (!path.isEmpty())
        applyFrom(path);
}

void SettingsTransfer::compare()
{
    const QString path = m_chooseCompareFile(&m_panel, QString());
    if (!path.isEmpty())
        compareWith(path);
}

CompareDialog* SettingsTransfer::compareWith(const QString& path)
{
    const SettingsFileReading reading = readSettingsFile(path);
    if (!reading.contents) {
        showMessage({.title = QStringLiteral("Settings Not Compared"), .text = reading.error, .path = path});
        return nullptr;
    }
    {
        Connection::BusyScope busy(m_connection);
        const QScopedValueRollback running(m_running, true);
        // Cancelled by the user: nothing to compare.
        if (!m_panel.reloadAllPages())
            return nullptr;
    }
    auto* dialog = new CompareDialog(m_panel.sendPath(), m_panel.catalogue(), path, reading.contents->lines, &m_panel);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

bool SettingsTransfer::saveTo(const QString& path, const QDateTime& at)
{
    SettingsSnapshot snapshot;
    {
        // Held only while the camera is read, not while a message is up.
        Connection::BusyScope busy(m_connection);
        const QScopedValueRollback running(m_running, true);
        snapshot = readSettingsSnapshot(m_panel.catalogue(), [this] { return m_panel.reloadAllPages(); });
    }
    // Cancelled by the user: no file, and nothing more to say.
    if (snapshot.cancelled)
        return false;
    if (snapshot.lines.isEmpty()) {
        showMessage({.title = kNotSavedTitle,
                     .text = QStringLiteral("No settings could be read from the camera; no file was written.")});
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(settingsFileText(snapshot, m_panel.model(), m_panel.family(), at)) < 0 || !file.commit()) {
        showMessage({.title = kNotSavedTitle,
                     .text = QStringLiteral("The settings could not be written to %1: %2.").arg(path, file.errorString()),
                     .path = path});
        return false;
    }
    showMessage({.kind = Message::Kind::Information,
                 .title = QStringLiteral("Settings Saved"),
                 .text = QStringLiteral("%1 settings of the %2 were saved to %3.")
                             .arg(snapshot.lines.size())
                             .arg(m_panel.model(), path)
                         + leftOutReport(settingsNotRead(m_panel.catalogue())),
                 .path = path});
    return true;
}

SettingsTransfer::Outcome SettingsTransfer::applyFrom(const QString& path)
{
    const SettingsFileReading reading = readSettingsFile(path);
    if (!reading.contents) {
        showMessage({.title = QStringLiteral("Settings Not Applied"), .text = reading.error, .path = path});
        return Outcome::BadFile;
    }
    const SettingsFileContents& file = *reading.contents;
    if (!file.model.isEmpty() && file.model != m_panel.model()) {
        const QString question = QStringLiteral("%1 holds settings of a %2; this camera is a %3. Apply them anyway?")
                                     .arg(path, file.model, m_panel.model());
        if (!m_ask(&m_panel, question))
            return Outcome::NotConfirmed;
    }
    Outcome outcome = Outcome::Applied;
    QString report;
    {
        // User actions on the pages wait until the panel shows the camera's
        // values again; the message comes after.
        Connection::BusyScope busy(m_connection);
        const QScopedValueRollback running(m_running, true);
        outcome = sendLines(path, file.lines, report);
        m_panel.reloadAllPages();
    }
    const bool applied = outcome == Outcome::Applied;
    showMessage({.kind = applied ? Message::Kind::Information : Message::Kind::Warning,
                 .title = applied ? QStringLiteral("Settings Applied") : QStringLiteral("Settings Not Fully Applied"),
                 .text = report,
                 .path = path});
    return outcome;
}

SettingsTransfer::Outcome SettingsTransfer::sendLines(const QString& path, const QList<SettingsFileLine>& lines,
                                                      QString& report)
{
    const int count = int(lines.size());
    const std::unique_ptr<ApplyProgressView> progress = m_createProgressView(&m_panel, count);
    for (int i = 0; i < count; ++i) {
        const SettingsFileLine& line = lines.at(i);
        if (progress->cancelRequested()) {
            report = QStringLiteral("Applying %1 was cancelled after %2 of %3 lines; the rest were not sent.")
                         .arg(path)
                         .arg(i)
                         .arg(count);
            return Outcome::Cancelled;
        }
        progress->showLine(i, count, line.text);
        const SetOutcome sent = TransactOutcome(m_connection, line.text, m_panel.catalogue().timeoutFor(line.text));
        if (sent == SetOutcome::Accepted)
            continue;
        const QString where = QStringLiteral("line %1 of %2:\n%3\n").arg(line.number).arg(path, QString::fromLatin1(line.text));
        const QString rest = QStringLiteral("The lines before it were applied; the rest were not sent.");
        if (sent == SetOutcome::NoAnswer) {
            report = QStringLiteral("The camera did not answer %1%2").arg(where, rest);
            return Outcome::NoAnswer;
        }
        const QString reason = LastErrorText(m_connection);
        report = QStringLiteral("The camera refused %1Reason: %2\n%3")
                     .arg(where, reason.isEmpty() ? QStringLiteral("(the camera gave none)") : reason, rest);
        return Outcome::Refused;
    }
    report = QStringLiteral("%1 settings from %2 were applied.").arg(count).arg(path);
    return Outcome::Applied;
}
