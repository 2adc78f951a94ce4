#pragma once

#include <QDialog>

#include <functional>

class QComboBox;

// Lets the user pick the COM port of the HART modem from the ports that are
// present. The list shows each port as "COMn", with its device node beside
// it where the platform names nodes otherwise.
class TFormCOMPortChooser : public QDialog
{
    Q_OBJECT

public:
    using TPortTest = std::function<bool(int comNumber)>;

    explicit TFormCOMPortChooser(QWidget* parent = nullptr);

    // Replaces the test whether a port is present (TSerialPort::IsPresent).
    void SetPortTest(TPortTest test);

    bool PortPresent(int comNumber) const;

    // Offers the present ports among COM1 ... COM<count>, with COM<preselect>
    // selected when it is present and the first one otherwise. The chosen
    // number, or -1 when the user cancels. Raises "No COM port was found."
    // when no port is present.
    int Choose(int count, int preselect);

private:
    void listPresentPorts(int count);
    void selectPort(int comNumber);

    TPortTest portTest;
    QComboBox* portList;
};
