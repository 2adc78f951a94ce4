// ThreadSanitizer must see into the calls posted to the GUI thread: a
// suppression or a hand-over it cannot follow would otherwise hide every
// race in a synchronized body. This program races on purpose; CTest passes
// it only when the sanitizer's report names the posted body's write, so it
// exists only in the ThreadSanitizer build.
#include "util/TQueuedCalls.h"

#include <QtTest>

#include <thread>

namespace {

// Named functions, so that the report's stacks show which write is which.
Q_NEVER_INLINE void WriteInPostedBody(int& target)
{
    target = 1;
}

Q_NEVER_INLINE void WriteInPoster(int& target)
{
    target = 2;
}

} // namespace

class TestQueuedCallsRace : public QObject
{
    Q_OBJECT

private slots:
    // The poster writes after its post and nothing orders that write against
    // the body's: a race, whichever of them comes first.
    void unorderedWriteBesideAPostedBodyIsReported()
    {
        TQueuedCalls calls;
        int shared = 0;
        bool bodyRan = false;
        std::thread poster([&] {
            calls.Post([&] {
                WriteInPostedBody(shared);
                bodyRan = true;
            });
            WriteInPoster(shared);
        });
        QTRY_VERIFY(bodyRan);
        poster.join();
    }
};

QTEST_GUILESS_MAIN(TestQueuedCallsRace)
#include "test_queued_calls_race.moc"
