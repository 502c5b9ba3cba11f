#pragma once

#include <QString>

// What a run of pk70ctl gave: its exit status, what it printed on standard
// output and standard error, and how long it took.
struct CtlResult {
    int status = -1;
    QString out;
    QString err;
    double seconds = 0;
};
