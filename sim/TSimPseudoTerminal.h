#pragma once

#include <QString>

// The simulator's end of the serial line: a pseudo-terminal whose slave side
// the program opens as its serial port through a symbolic link. The slave is
// kept open here as well, so that the program may close and reopen the port
// without the master side seeing a hang-up.
class TSimPseudoTerminal
{
public:
    // Creates the pseudo-terminal, puts the slave into raw mode and points
    // linkPath at it (a stale link there is replaced). Throws
    // std::runtime_error when any step fails.
    explicit TSimPseudoTerminal(const QString& linkPath);
    ~TSimPseudoTerminal();

    TSimPseudoTerminal(const TSimPseudoTerminal&) = delete;
    TSimPseudoTerminal& operator=(const TSimPseudoTerminal&) = delete;

    int MasterFd() const { return masterFd; }
    QString SlavePath() const { return slavePath; }
    QString LinkPath() const { return linkPath; }

private:
    void OpenMaster();
    void OpenSlave();
    void CreateLink();
    [[noreturn]] void Fail(const QString& step);
    void Close();

    QString linkPath;
    QString slavePath;
    int masterFd = -1;
    int slaveFd = -1;
};
