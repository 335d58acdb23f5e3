#ifndef ZELMAP_PROGRESSREPORTER_H
#define ZELMAP_PROGRESSREPORTER_H

#include <QElapsedTimer>
#include <QtGlobal>

#include <cstdio>

// Progress of a replay on stderr: a bar redrawn in place on a terminal, otherwise a plain line
// every few seconds, so logs stay readable.
class ProgressReporter
{
public:
    ProgressReporter(qint64 total, FILE *stream);

    void update(qint64 done);
    // Clears the bar so a line written to the terminal is not drawn over it.
    void clearLine();
    void finish(qint64 done);

private:
    void draw(qint64 done, bool last);

    qint64 m_total;
    FILE *m_stream;
    bool m_terminal;
    QElapsedTimer m_clock;
    qint64 m_lastLineAt;
};

#endif // ZELMAP_PROGRESSREPORTER_H
