#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for tests: the program side opens LinkPath() like a
// serial port; the test plays the far end through the master side.
class PtyPair
{
public:
    explicit PtyPair(const QString& linkPath);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString LinkPath() const { return linkPath; }

    void WriteToProgram(const QByteArray& bytes);
    // Collects what the program sent until `count` bytes have arrived or
    // `timeoutMs` has passed.
    QByteArray ReadFromProgram(int count, int timeoutMs);
    // Bytes written to the program that wait in the terminal, not yet read by
    // anyone.
    int WaitingForProgram() const;

    // The modem is unplugged: the far end closes, and the program's side of
    // the terminal hangs up.
    void Unplug();
    // The modem is back: a new pseudo-terminal behind the same path.
    void PlugIn();

private:
    void closeTerminal();

    QString linkPath;
    int masterFd = -1;
    int slaveFd = -1;
};
