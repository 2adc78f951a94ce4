#pragma once

#include "worker/TJobSteps.h"

#include <QString>

#include <functional>

class TConfigWriter;

// The end-of-line test of a newly built probe: a configuration snapshot at
// each alarm current, today's date written into the probe, its settings
// stored as factory defaults. Each step is recorded in a protocol file (in
// German, for the production floor) before it runs and marked "fertig" once
// it has succeeded, or with the response code the device refused it with,
// so an interrupted test shows where it stopped. However the test ends, the
// fixed output current is released.
class TProductionTest : private TJobSteps
{
public:
    explicit TProductionTest(TThreadMeridal& thread);

    void JobProductionTest();

    static constexpr int FactoryDefaultsWaitMs = 10000;

private:
    void runSteps(TConfigWriter& protocol, const QString& protocolName);
    // A step's body returns the device's refusal, empty when it was done.
    void step(TConfigWriter& protocol, const QString& text, const std::function<QString()>& body);
    QString refusal() const;
    QString snapshot(float current, const QString& fileName);
    QString writeTodaysDate();
    QString storeFactoryDefaults();
    void releaseCurrent();
};
