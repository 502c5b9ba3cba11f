#pragma once

// A file of camera settings: plain text, one command line per setting in the
// order the camera is to receive them, comment lines that begin with "#" and
// blank lines. The header comments say where the settings came from:
//
//   # PK70App camera settings
//   # model: PTM-R560CL
//   # version: 2.31.0
//   # date: 2026-12-08T11:42:21+01:00
//   # family: Brevo
//   WIDTH 1600
//   SP-FL  1
//
// Any file of command lines reads the same way, so a file written by hand
// (or by another program) applies as well. "#" starts a comment only at the
// start of a line, since a command's text may hold one. Lines end in LF, CR
// LF or CR; blanks and tabs around a line are dropped, blanks inside a line
// are kept ("SP-FL  1" has two).
//
// Nothing here talks to the camera or shows anything: reading checks the
// whole file first and gives one message for what is wrong with it, so that
// nothing is sent from a file that is not a settings file.

#include <QByteArray>
#include <QByteArrayList>
#include <QIODevice>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct SettingsFileHeader {
    QString model;
    QString version;
    QDateTime date;
    QString family;
};

// The header comments and then the lines, each ended by LF.
QByteArray composeSettingsFile(const SettingsFileHeader& header, const QByteArrayList& lines);

// A command line and where it stands in the file (counted from 1).
struct SettingsFileLine {
    int number = 0;
    QByteArray text;

    bool operator==(const SettingsFileLine& other) const = default;
};

struct SettingsFileContents {
    QString model; // from the "# model:" comment; empty when the file has none
    QList<SettingsFileLine> lines;
};

// The contents of a file, or the one message that says why it is no file of
// settings: missing or unreadable, larger than kMaxFileBytes, binary content,
// a line over kMaxLineLength characters, a command line with characters a
// command cannot have, or no command line at all.
struct SettingsFileReading {
    std::optional<SettingsFileContents> contents;
    QString error;
};

inline constexpr int kMaxSettingsLineLength = 256;
inline constexpr qint64 kMaxSettingsFileBytes = 1024 * 1024;

SettingsFileReading readSettingsFile(const QString& path);
// The same check of what a device (an open file, standard input) holds, read
// to its end but never more than kMaxSettingsFileBytes and one byte.
SettingsFileReading readSettingsDevice(QIODevice& device, const QString& name);
// Why one line, without its line end, cannot stand in a settings file: "is
// longer than 256 characters", "holds binary data", "holds characters other
// than plain ASCII, which no camera command has"; empty when it can.
QString settingsLineProblem(const QByteArray& line);
// The same check of bytes already read; name is how messages call the file.
SettingsFileReading parseSettingsFile(const QByteArray& bytes, const QString& name);
