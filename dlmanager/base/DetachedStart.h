#pragma once

#include <QByteArray>
#include <QList>

// Starts `program` (a path) with `arguments` handed over byte for byte as argv[1...], with no
// shell in between, and returns without waiting for it. The program runs in a session of its
// own and is not our child, so it never lingers as a zombie, whoever reaps or does not.
// False only when no process could be made; whether the program itself started is not known.
bool startDetached(const QByteArray& program, const QList<QByteArray>& arguments);
