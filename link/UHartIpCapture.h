#pragma once

#include "link/TTracedFrame.h"

#include <QByteArray>
#include <QList>

// A capture file (pcap, microsecond time stamps, raw IPv4) of serial HART
// frames, so that Wireshark and tshark decode them with their HART-IP
// dissector: each frame becomes one HART-IP pass-through message in a UDP
// datagram between the master (192.0.2.1, port 50000) and the device
// (192.0.2.2, port 5094). A request and the answers after it share one
// sequence number. The frames are carried whole, preambles included.
QByteArray HartIpCapture(const QList<TTracedFrame>& frames);
