#pragma once

#include <QString>

// What the system says about the serial device behind a port of the list ("Com1" is number 0):
// the device named by VTL_MODBUS_COM<N>, else /dev/ttyS<N-1>, as the Modbus library opens it.
// Asked in the program, for the port list's tooltips and for the reason an open failed.
namespace PortDevices {

QString devicePath(int comPortNumber);
QString environmentVariable(int comPortNumber);

struct Probe {
    QString path;
    QString variable;    // the environment variable that may name it
    bool named = false;  // by that variable
    int openError = 0;   // errno of a trial open; 0 when it could be opened
    QString group;       // the group owning the device, when it exists
    QString owner;       // the user owning it
    unsigned mode = 0;   // its permission bits
    QString holder;      // the program holding it, when it is busy and we may see that
};

// Opens the device as the Modbus library does (its lock included, which keeps out even a
// privileged user) and closes it again at once. Not for a port the program holds itself.
Probe probe(int comPortNumber);

// One line for the port list: the device and whether it exists and can be opened.
QString tooltip(const Probe& probe);
QString heldByThisProgramTooltip(int comPortNumber);

// The reason and the fix for a device that exists but may not be opened (EACCES), is held by
// another program (EBUSY) or is missing; empty for other failures.
QString failureDetail(const Probe& probe);

}  // namespace PortDevices
