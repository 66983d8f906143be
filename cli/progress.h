#pragma once
// Progress of a download or a live run on stderr: a bar redrawn in place on
// a terminal, a plain line every tenth of the way otherwise (a log file, a
// pipe); nothing with --quiet.

#include <QString>

class Progress
{
public:
    explicit Progress(const QString &what);
    ~Progress();

    // The total is known (0: unknown, counts only).
    void setTotal(int total);
    void setValue(int value);
    // Ends the bar's line; a final plain line.
    void finish();

private:
    void draw();

    QString label;
    bool terminal = false;
    bool active = true;
    int total = 0;
    int value = 0;
    int lastTenth = -1;
    bool drawn = false;
};
