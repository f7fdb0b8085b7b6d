// SPDX-License-Identifier: MIT
// How fast the host gets going, and how long the preview takes: the start
// clock, the restart with huge pages, and --timing's milestones.
#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

/// The time since the host started, counting the start it may have made
/// before starting itself again.
class StartClock
{
public:
    /// Starts the host again with malloc's huge pages when it was not started
    /// so, and then starts the clock.
    static StartClock start(char **argv);

    qint64 nsecsElapsed() const { return m_before + m_timer.nsecsElapsed(); }

private:
    QElapsedTimer m_timer;
    qint64 m_before = 0; // nanoseconds
};

/// Names the time zone in TZ, when it is not named there, as /etc/localtime names it.
void nameTheTimeZone();

/// Prints "trellin-preview: MOMENT after N ms" on standard error.
void printTime(const char *moment, const StartClock &sinceStart);

/// Says once, on standard error, how long after start the first event came
/// that `reached` accepts, on any of the objects it watches.
class Milestone : public QObject
{
public:
    Milestone(const char *moment, const StartClock &sinceStart, std::function<bool(QEvent *)> reached);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const char *m_moment;
    const StartClock &m_sinceStart; // Not owned.
    std::function<bool(QEvent *)> m_reached;
    bool m_said = false;
};
