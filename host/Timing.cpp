// SPDX-License-Identifier: MIT
#include "Timing.h"

#include <QFileInfo>
#include <QTimeZone>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char *startedVariable = "TRELLIN_PREVIEW_STARTED";
constexpr const char *tunablesVariable = "TRELLIN_PREVIEW_TUNABLES";
constexpr const char *hugePages = "glibc.malloc.hugetlb=1";

qint64 monotonicNanoseconds()
{
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Leaves the environment as it was, for the programs that the host opens.
void restoreTunables(const std::string &original)
{
    if (original.empty())
        unsetenv("GLIBC_TUNABLES");
    else
        setenv("GLIBC_TUNABLES", original.c_str(), 1);
    unsetenv(startedVariable);
    unsetenv(tunablesVariable);
}

// malloc backs its heaps with transparent huge pages only when told at
// start, by a tunable: the host starts itself again with it. A tree of
// 100,000 rows then costs a third less time, most of it page faults.
// Returns the nanoseconds spent before this start.
qint64 startWithHugePages(char **argv)
{
    if (const char *started = std::getenv(startedVariable)) {
        const qint64 before = std::max<qint64>(0, monotonicNanoseconds() - std::atoll(started));
        const char *tunables = std::getenv(tunablesVariable);
        restoreTunables(tunables ? tunables : "");
        return before;
    }
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb"))
        return 0; // the user's word
    const std::string original = tunables ? tunables : "";
    setenv(startedVariable, std::to_string(monotonicNanoseconds()).c_str(), 1);
    setenv(tunablesVariable, original.c_str(), 1);
    setenv("GLIBC_TUNABLES", (original.empty() ? std::string() : original + ':').append(hugePages).c_str(), 1);
    execv("/proc/self/exe", argv);
    // Not started again: go on as it is.
    restoreTunables(original);
    return 0;
}

} // namespace

StartClock StartClock::start(char **argv)
{
    StartClock clock;
    clock.m_before = startWithHugePages(argv);
    clock.m_timer.start();
    return clock;
}

// Zip archives store local times, which libarchive converts with mktime.
// Without TZ, glibc checks the zone file again on every call: a stat per
// entry, half the time of listing a big zip. Naming the zone that
// /etc/localtime is keeps every date the same, for ICU too.
void nameTheTimeZone()
{
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    if (!zone.isEmpty() && QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/") + QString::fromLatin1(zone)))
        qputenv("TZ", zone);
}

void printTime(const char *moment, const StartClock &sinceStart)
{
    std::fprintf(stderr, "trellin-preview: %s after %.1f ms\n", moment, sinceStart.nsecsElapsed() / 1e6);
}

Milestone::Milestone(const char *moment, const StartClock &sinceStart, std::function<bool(QEvent *)> reached)
    : m_moment(moment)
    , m_sinceStart(sinceStart)
    , m_reached(std::move(reached))
{
}

bool Milestone::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_said && m_reached(event)) {
        m_said = true;
        printTime(m_moment, m_sinceStart);
        watched->removeEventFilter(this);
    }
    return false;
}
